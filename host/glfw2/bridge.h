// SPDX-License-Identifier: Zlib
// Shared by the files that implement the classic window interface
// (host/glfw2/glfw2.h) on the GLFW 3 library.
//
// GLFW 3's header defines many of our constant names as macros with other
// values (GLFW_KEY_F1 is 258 here and 290 there). These files therefore
// include this header first, before <GLFW/glfw3.h>, and from then on refer to
// our constants only through the copies in namespace `classic`, whose names no
// macro can reach.
#pragma once

#include "host/glfw2/glfw2.h"

struct GLFWwindow;

namespace classic {

// Keys.
constexpr int KeyUnknown = glfw2::GLFW_KEY_UNKNOWN;
constexpr int KeyEsc = glfw2::GLFW_KEY_ESC;
constexpr int KeyF1 = glfw2::GLFW_KEY_F1;
constexpr int KeyUp = glfw2::GLFW_KEY_UP;
constexpr int KeyDown = glfw2::GLFW_KEY_DOWN;
constexpr int KeyLeft = glfw2::GLFW_KEY_LEFT;
constexpr int KeyRight = glfw2::GLFW_KEY_RIGHT;
constexpr int KeyLShift = glfw2::GLFW_KEY_LSHIFT;
constexpr int KeyRShift = glfw2::GLFW_KEY_RSHIFT;
constexpr int KeyLCtrl = glfw2::GLFW_KEY_LCTRL;
constexpr int KeyRCtrl = glfw2::GLFW_KEY_RCTRL;
constexpr int KeyLAlt = glfw2::GLFW_KEY_LALT;
constexpr int KeyRAlt = glfw2::GLFW_KEY_RALT;
constexpr int KeyTab = glfw2::GLFW_KEY_TAB;
constexpr int KeyEnter = glfw2::GLFW_KEY_ENTER;
constexpr int KeyBackspace = glfw2::GLFW_KEY_BACKSPACE;
constexpr int KeyInsert = glfw2::GLFW_KEY_INSERT;
constexpr int KeyDel = glfw2::GLFW_KEY_DEL;
constexpr int KeyPageUp = glfw2::GLFW_KEY_PAGEUP;
constexpr int KeyPageDown = glfw2::GLFW_KEY_PAGEDOWN;
constexpr int KeyHome = glfw2::GLFW_KEY_HOME;
constexpr int KeyEnd = glfw2::GLFW_KEY_END;
constexpr int KeyKp0 = glfw2::GLFW_KEY_KP_0;
constexpr int KeyKpDivide = glfw2::GLFW_KEY_KP_DIVIDE;
constexpr int KeyKpMultiply = glfw2::GLFW_KEY_KP_MULTIPLY;
constexpr int KeyKpSubtract = glfw2::GLFW_KEY_KP_SUBTRACT;
constexpr int KeyKpAdd = glfw2::GLFW_KEY_KP_ADD;
constexpr int KeyKpDecimal = glfw2::GLFW_KEY_KP_DECIMAL;
constexpr int KeyKpEqual = glfw2::GLFW_KEY_KP_EQUAL;
constexpr int KeyKpEnter = glfw2::GLFW_KEY_KP_ENTER;
constexpr int KeyKpNumLock = glfw2::GLFW_KEY_KP_NUM_LOCK;
constexpr int KeyCapsLock = glfw2::GLFW_KEY_CAPS_LOCK;
constexpr int KeyScrollLock = glfw2::GLFW_KEY_SCROLL_LOCK;
constexpr int KeyPause = glfw2::GLFW_KEY_PAUSE;
constexpr int KeyLSuper = glfw2::GLFW_KEY_LSUPER;
constexpr int KeyRSuper = glfw2::GLFW_KEY_RSUPER;
constexpr int KeyMenu = glfw2::GLFW_KEY_MENU;
constexpr int KeyLast = glfw2::GLFW_KEY_LAST;

// Window modes, parameters, hints and switches.
constexpr int Windowed = glfw2::GLFW_WINDOW;
constexpr int Fullscreen = glfw2::GLFW_FULLSCREEN;
constexpr int Opened = glfw2::GLFW_OPENED;
constexpr int Active = glfw2::GLFW_ACTIVE;
constexpr int Iconified = glfw2::GLFW_ICONIFIED;
constexpr int WindowNoResize = glfw2::GLFW_WINDOW_NO_RESIZE;
constexpr int MouseCursor = glfw2::GLFW_MOUSE_CURSOR;
constexpr int KeyRepeat = glfw2::GLFW_KEY_REPEAT;
constexpr int AutoPollEvents = glfw2::GLFW_AUTO_POLL_EVENTS;

}  // namespace classic

namespace glfw2::bridge {

// The one window of the classic interface; null while none is open.
GLFWwindow* Window();

// Key numbers between the two libraries; -1 where a key has no counterpart.
int ClassicKeyFromGlfw3(int key3);
int Glfw3KeyFromClassic(int key2);

// Whether the keyboard holds the key (a GLFW 3 key number) down right now:
// 1 or 0, or -1 when the window system cannot tell. A host that can ask its
// window system sets its reader; without one the layer cannot tell.
using KeyStateReader = int (*)(int key3);
void SetKeyStateReader(KeyStateReader reader);

}  // namespace glfw2::bridge
