// SPDX-License-Identifier: Zlib
// The window-system interface the host is written against: the classic
// single-window GLFW calls, constants and key numbers, implemented on the
// GLFW 3 library in host/glfw2/glfw2.cpp (window, events, input), keys.cpp
// and video.cpp. The desktop host uses it, and so does the browser host, on
// the browser's GLFW. Everything lives in namespace glfw2 so
// that it never collides with the GLFW 3 symbols of the same names; host code
// says `using namespace glfw2;`.
//
// Never include <GLFW/glfw3.h> in a file that includes this header: the two
// define constants with the same names and different values.
#pragma once

#include <vector>

namespace glfw2 {

// Booleans and actions.
constexpr int GLFW_RELEASE = 0;
constexpr int GLFW_PRESS = 1;

// Keyboard key numbers: printable keys are their ASCII upper-case code;
// special keys start above 256.
constexpr int GLFW_KEY_UNKNOWN = -1;
constexpr int GLFW_KEY_SPACE = 32;
constexpr int GLFW_KEY_SPECIAL = 256;
constexpr int GLFW_KEY_ESC = GLFW_KEY_SPECIAL + 1;
constexpr int GLFW_KEY_F1 = GLFW_KEY_SPECIAL + 2;
constexpr int GLFW_KEY_F2 = GLFW_KEY_SPECIAL + 3;
constexpr int GLFW_KEY_F3 = GLFW_KEY_SPECIAL + 4;
constexpr int GLFW_KEY_F4 = GLFW_KEY_SPECIAL + 5;
constexpr int GLFW_KEY_F5 = GLFW_KEY_SPECIAL + 6;
constexpr int GLFW_KEY_F6 = GLFW_KEY_SPECIAL + 7;
constexpr int GLFW_KEY_F7 = GLFW_KEY_SPECIAL + 8;
constexpr int GLFW_KEY_F8 = GLFW_KEY_SPECIAL + 9;
constexpr int GLFW_KEY_F9 = GLFW_KEY_SPECIAL + 10;
constexpr int GLFW_KEY_F10 = GLFW_KEY_SPECIAL + 11;
constexpr int GLFW_KEY_F11 = GLFW_KEY_SPECIAL + 12;
constexpr int GLFW_KEY_F12 = GLFW_KEY_SPECIAL + 13;
constexpr int GLFW_KEY_F13 = GLFW_KEY_SPECIAL + 14;
constexpr int GLFW_KEY_F25 = GLFW_KEY_SPECIAL + 26;
constexpr int GLFW_KEY_UP = GLFW_KEY_SPECIAL + 27;
constexpr int GLFW_KEY_DOWN = GLFW_KEY_SPECIAL + 28;
constexpr int GLFW_KEY_LEFT = GLFW_KEY_SPECIAL + 29;
constexpr int GLFW_KEY_RIGHT = GLFW_KEY_SPECIAL + 30;
constexpr int GLFW_KEY_LSHIFT = GLFW_KEY_SPECIAL + 31;
constexpr int GLFW_KEY_RSHIFT = GLFW_KEY_SPECIAL + 32;
constexpr int GLFW_KEY_LCTRL = GLFW_KEY_SPECIAL + 33;
constexpr int GLFW_KEY_RCTRL = GLFW_KEY_SPECIAL + 34;
constexpr int GLFW_KEY_LALT = GLFW_KEY_SPECIAL + 35;
constexpr int GLFW_KEY_RALT = GLFW_KEY_SPECIAL + 36;
constexpr int GLFW_KEY_TAB = GLFW_KEY_SPECIAL + 37;
constexpr int GLFW_KEY_ENTER = GLFW_KEY_SPECIAL + 38;
constexpr int GLFW_KEY_BACKSPACE = GLFW_KEY_SPECIAL + 39;
constexpr int GLFW_KEY_INSERT = GLFW_KEY_SPECIAL + 40;
constexpr int GLFW_KEY_DEL = GLFW_KEY_SPECIAL + 41;
constexpr int GLFW_KEY_PAGEUP = GLFW_KEY_SPECIAL + 42;
constexpr int GLFW_KEY_PAGEDOWN = GLFW_KEY_SPECIAL + 43;
constexpr int GLFW_KEY_HOME = GLFW_KEY_SPECIAL + 44;
constexpr int GLFW_KEY_END = GLFW_KEY_SPECIAL + 45;
constexpr int GLFW_KEY_KP_0 = GLFW_KEY_SPECIAL + 46;
constexpr int GLFW_KEY_KP_9 = GLFW_KEY_SPECIAL + 55;
constexpr int GLFW_KEY_KP_DIVIDE = GLFW_KEY_SPECIAL + 56;
constexpr int GLFW_KEY_KP_MULTIPLY = GLFW_KEY_SPECIAL + 57;
constexpr int GLFW_KEY_KP_SUBTRACT = GLFW_KEY_SPECIAL + 58;
constexpr int GLFW_KEY_KP_ADD = GLFW_KEY_SPECIAL + 59;
constexpr int GLFW_KEY_KP_DECIMAL = GLFW_KEY_SPECIAL + 60;
constexpr int GLFW_KEY_KP_EQUAL = GLFW_KEY_SPECIAL + 61;
constexpr int GLFW_KEY_KP_ENTER = GLFW_KEY_SPECIAL + 62;
constexpr int GLFW_KEY_KP_NUM_LOCK = GLFW_KEY_SPECIAL + 63;
constexpr int GLFW_KEY_CAPS_LOCK = GLFW_KEY_SPECIAL + 64;
constexpr int GLFW_KEY_SCROLL_LOCK = GLFW_KEY_SPECIAL + 65;
constexpr int GLFW_KEY_PAUSE = GLFW_KEY_SPECIAL + 66;
constexpr int GLFW_KEY_LSUPER = GLFW_KEY_SPECIAL + 67;
constexpr int GLFW_KEY_RSUPER = GLFW_KEY_SPECIAL + 68;
constexpr int GLFW_KEY_MENU = GLFW_KEY_SPECIAL + 69;
constexpr int GLFW_KEY_LAST = GLFW_KEY_MENU;  // 325

// Mouse buttons.
constexpr int GLFW_MOUSE_BUTTON_LEFT = 0;
constexpr int GLFW_MOUSE_BUTTON_RIGHT = 1;
constexpr int GLFW_MOUSE_BUTTON_MIDDLE = 2;

// Window modes for glfwOpenWindow.
constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;

// glfwGetWindowParam.
constexpr int GLFW_OPENED = 0x00020001;
constexpr int GLFW_ACTIVE = 0x00020002;
constexpr int GLFW_ICONIFIED = 0x00020003;

// glfwOpenWindowHint.
constexpr int GLFW_WINDOW_NO_RESIZE = 0x00020012;

// glfwEnable / glfwDisable.
constexpr int GLFW_MOUSE_CURSOR = 0x00030001;
constexpr int GLFW_KEY_REPEAT = 0x00030005;
constexpr int GLFW_AUTO_POLL_EVENTS = 0x00030006;

struct GLFWvidmode {
    int Width, Height;
    int RedBits, BlueBits, GreenBits;
};

typedef void (*GLFWkeyfun)(int key, int action);
typedef void (*GLFWcharfun)(int character, int action);
typedef void (*GLFWmousebuttonfun)(int button, int action);
typedef void (*GLFWmouseposfun)(int x, int y);
typedef int (*GLFWwindowclosefun)();

// An icon for the window system, RGBA rows from the top down.
struct GLFWicon {
    int Width = 0, Height = 0;
    std::vector<unsigned char> Rgba;
};

int glfwInit();
void glfwTerminate();
// The description of the last error the library reported, "" if none yet.
const char* glfwGetLastError();

void glfwOpenWindowHint(int target, int hint);
int glfwOpenWindow(int width, int height, int redbits, int greenbits, int bluebits, int alphabits,
                   int depthbits, int stencilbits, int mode);
void glfwCloseWindow();
// Who every window opened from now on says it is, from the moment it is
// made: its class on X11 (class and instance name alike) and its icons, of
// any sizes (none: the system's own).
void glfwSetWindowIdentity(const char* className, std::vector<GLFWicon> icons);
// The title the next window is made with.
void glfwOpenWindowTitleHint(const char* title);
void glfwSetWindowTitle(const char* title);
void glfwSetWindowPos(int x, int y);
// Size of the drawable (framebuffer) in pixels.
void glfwGetWindowSize(int* width, int* height);
int glfwGetWindowParam(int param);
void glfwSwapBuffers();

void glfwPollEvents();
void glfwWaitEvents();
double glfwGetTime();
void glfwSleep(double seconds);
void glfwEnable(int token);
void glfwDisable(int token);

int glfwGetKey(int key);
// Pointer position in the same pixels as glfwGetWindowSize.
void glfwGetMousePos(int* x, int* y);
void glfwSetKeyCallback(GLFWkeyfun fn);
void glfwSetCharCallback(GLFWcharfun fn);
void glfwSetMouseButtonCallback(GLFWmousebuttonfun fn);
void glfwSetMousePosCallback(GLFWmouseposfun fn);
void glfwSetWindowCloseCallback(GLFWwindowclosefun fn);

int glfwGetVideoModes(GLFWvidmode* list, int maxcount);
void glfwGetDesktopMode(GLFWvidmode* mode);

}  // namespace glfw2
