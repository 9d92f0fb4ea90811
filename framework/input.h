// SPDX-License-Identifier: Zlib
// The input module: the state of every input the application can ask about,
// in one space of 512 key codes (host/events.h): keys down, presses counted
// since the last update, typed characters, the pointer, 32 touches, the
// accelerometer and four joysticks. The game delegate feeds it the host's
// events and brackets every update with p_BeginUpdate and p_EndUpdate.
#pragma once

#include "runtime/runtime.h"

class c_JoyState : public Object {
public:
    Array<float> m_AxesX;  // x of the first and second stick
    Array<float> m_AxesY;
    Array<float> m_AxesZ;
    Array<bool> m_Buttons;  // 32

    c_JoyState();
    c_JoyState* m_new();
    void mark() override;
};

class c_InputDevice : public Object {
public:
    Array<c_JoyState*> m_JoyStates;  // 4 ports
    Array<bool> m_KeyDown;           // 512
    // Keys pressed since the last update ended, and which of them were
    // released meanwhile: a tap between two updates reads as down for the
    // one update that follows, and is released at its end.
    int m_UnseenLen = 0;
    Array<int> m_Unseen;          // 512
    Array<bool> m_KeyUnseen;      // 512
    Array<bool> m_ReleaseDue;     // 512
    int m_HitQueueLen = 0;
    Array<int> m_HitQueue;  // 33: keys whose hit counts the update's end resets
    Array<int> m_KeyHits;   // 512
    int m_CharGet = 0;
    int m_CharPut = 0;
    Array<int> m_CharQueue;  // 32
    float m_PointerX = 0;
    float m_PointerY = 0;
    Array<float> m_TouchPosX;  // 32
    Array<float> m_TouchPosY;
    float m_MotionX = 0;
    float m_MotionY = 0;
    float m_MotionZ = 0;

    c_InputDevice();
    c_InputDevice* m_new();
    void mark() override;

    int p_PutKeyHit(int key);
    int p_BeginUpdate();
    int p_EndUpdate();
    int p_KeyEvent(int event, int data);
    int p_MouseEvent(int event, int data, float x, float y);
    int p_TouchEvent(int event, int data, float x, float y);
    int p_MotionEvent(int event, int data, float x, float y, float z);
    bool p_SetKeyboardEnabled(bool enabled);
    int p_GetChar();
    int p_KeyHit(int key);
    int p_KeyDown(int key);
    float p_MouseX();
    float p_MouseY();
    float p_TouchX(int finger);
    float p_TouchY(int finger);
    float p_JoyX(int index, int port);
    float p_JoyY(int index, int port);
    float p_AccelX();
    float p_AccelY();

private:
    void PressKey(int key);
    void SetDown(int key);
    void ReleaseKey(int key);
    void PollPort(int port, c_JoyState* joy);
};

extern c_InputDevice* kr_input_device;

int kr_input_SetInputDevice(c_InputDevice* device);
int kr_input_EnableKeyboard();
int kr_input_DisableKeyboard();
int kr_input_GetChar();
int kr_input_KeyHit(int key);
int kr_input_KeyDown(int key);
float kr_input_MouseX();
float kr_input_MouseY();
int kr_input_MouseHit(int button);
int kr_input_MouseDown(int button);
int kr_input_TouchDown(int finger);
float kr_input_TouchX(int finger);
float kr_input_TouchY(int finger);
int kr_input_JoyHit(int button, int port);
int kr_input_JoyDown(int button, int port);
float kr_input_JoyX(int index, int port);
float kr_input_JoyY(int index, int port);
float kr_input_AccelX();
float kr_input_AccelY();
