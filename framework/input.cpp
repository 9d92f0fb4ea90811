// SPDX-License-Identifier: Zlib
#include "framework/input.h"

#include "host/host.h"

c_InputDevice* kr_input_device;

namespace {

// --- Sizes, ranges and paired keys ---

constexpr int kPorts = 4;
constexpr int kJoyButtons = 32;
constexpr int kTouches = 32;
constexpr int kHitQueueSize = 33;
constexpr int kCharQueueSize = 32;

bool validKey(int key) { return key > 0 && key < kr_key::Count; }
bool validFinger(int finger) { return finger >= 0 && finger < kTouches; }
bool validStick(int index, int port) { return index >= 0 && index < 2 && port >= 0 && port < kPorts; }

// Key 1 (left mouse button) and key 384 (first touch) move together.
int partnerOf(int key) {
    if (key == kr_key::MouseLeft) return kr_key::TouchFirst;
    if (key == kr_key::TouchFirst) return kr_key::MouseLeft;
    return 0;
}

}  // namespace

// --- Construction and marking ---

c_JoyState::c_JoyState() {
    m_AxesX = Array<float>(2);
    m_AxesY = Array<float>(2);
    m_AxesZ = Array<float>(2);
    m_Buttons = Array<bool>(kJoyButtons);
}

c_JoyState* c_JoyState::m_new() { return this; }

void c_JoyState::mark() {
    gc_mark_q(m_AxesX);
    gc_mark_q(m_AxesY);
    gc_mark_q(m_AxesZ);
    gc_mark_q(m_Buttons);
}

c_InputDevice::c_InputDevice() {
    m_JoyStates = Array<c_JoyState*>(kPorts);
    m_KeyDown = Array<bool>(kr_key::Count);
    m_Unseen = Array<int>(kr_key::Count);
    m_KeyUnseen = Array<bool>(kr_key::Count);
    m_ReleaseDue = Array<bool>(kr_key::Count);
    m_HitQueue = Array<int>(kHitQueueSize);
    m_KeyHits = Array<int>(kr_key::Count);
    m_CharQueue = Array<int>(kCharQueueSize);
    m_TouchPosX = Array<float>(kTouches);
    m_TouchPosY = Array<float>(kTouches);
}

c_InputDevice* c_InputDevice::m_new() {
    for (int port = 0; port < kPorts; ++port) gc_assign(m_JoyStates[port], (new c_JoyState)->m_new());
    return this;
}

void c_InputDevice::mark() {
    gc_mark_q(m_JoyStates);
    gc_mark_q(m_KeyDown);
    gc_mark_q(m_Unseen);
    gc_mark_q(m_KeyUnseen);
    gc_mark_q(m_ReleaseDue);
    gc_mark_q(m_HitQueue);
    gc_mark_q(m_KeyHits);
    gc_mark_q(m_CharQueue);
    gc_mark_q(m_TouchPosX);
    gc_mark_q(m_TouchPosY);
}

// --- Key presses, hits and releases ---

// At most 33 presses are counted per update; later ones are not counted.
// A key outside the key space is not counted either (it has no entry).
int c_InputDevice::p_PutKeyHit(int key) {
    if (!validKey(key) || m_HitQueueLen == m_HitQueue.Length()) return 0;
    m_KeyHits[key] += 1;
    m_HitQueue[m_HitQueueLen++] = key;
    return 0;
}

// A key already down is not pressed again, so repeats are not counted; a
// key whose release waits for the update counts as up, so pressing it again
// counts as before.
void c_InputDevice::PressKey(int key) {
    if (!validKey(key) || (m_KeyDown[key] && !m_ReleaseDue[key])) return;
    SetDown(key);
    if (int partner = partnerOf(key)) SetDown(partner);
}

void c_InputDevice::SetDown(int key) {
    m_KeyDown[key] = true;
    m_ReleaseDue[key] = false;
    if (!m_KeyUnseen[key]) {
        m_KeyUnseen[key] = true;
        m_Unseen[m_UnseenLen++] = key;
    }
    p_PutKeyHit(key);
}

// A key no update has seen down yet stays down until the end of the next
// update, so a quick tap is not lost.
void c_InputDevice::ReleaseKey(int key) {
    if (!validKey(key) || !m_KeyDown[key]) return;
    int partner = partnerOf(key);
    if (m_KeyUnseen[key]) {
        m_ReleaseDue[key] = true;
        if (partner && m_KeyUnseen[partner]) m_ReleaseDue[partner] = true;
        return;
    }
    m_KeyDown[key] = false;
    if (partner) m_KeyDown[partner] = false;
}

// --- Each update's start and end ---

void c_InputDevice::PollPort(int port, c_JoyState* joy) {
    for (int b = 0; b < kJoyButtons; ++b) {
        int key = kr_key::JoyFirst + kJoyButtons * port + b;
        if (!joy->m_Buttons[b]) {
            m_KeyDown[key] = false;
        } else if (!m_KeyDown[key]) {
            m_KeyDown[key] = true;
            p_PutKeyHit(key);
        }
    }
}

// Ports are read in order up to the first without a joystick.
int c_InputDevice::p_BeginUpdate() {
    KrGame* host = KrGame::_game;
    if (!host) return 0;
    for (int port = 0; port < kPorts; ++port) {
        c_JoyState* joy = m_JoyStates[port];
        if (!host->PollJoystick(port, joy->m_AxesX, joy->m_AxesY, joy->m_AxesZ, joy->m_Buttons)) break;
        PollPort(port, joy);
    }
    return 0;
}

// Hit counts, characters and taps live until the end of the update that
// saw them.
int c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m_HitQueueLen; ++i) m_KeyHits[m_HitQueue[i]] = 0;
    m_HitQueueLen = 0;
    for (int i = 0; i < m_UnseenLen; ++i) {
        int key = m_Unseen[i];
        if (m_ReleaseDue[key]) m_KeyDown[key] = false;
        m_ReleaseDue[key] = false;
        m_KeyUnseen[key] = false;
    }
    m_UnseenLen = 0;
    m_CharGet = 0;
    m_CharPut = 0;
    return 0;
}

// --- Events from the host ---

int c_InputDevice::p_KeyEvent(int event, int data) {
    if (event == kr_event::KeyDown) {
        PressKey(data);
    } else if (event == kr_event::KeyUp) {
        ReleaseKey(data);
    } else if (event == kr_event::KeyChar && m_CharPut < m_CharQueue.Length()) {
        m_CharQueue[m_CharPut++] = data;
    }
    return 0;
}

int c_InputDevice::p_MouseEvent(int event, int data, float x, float y) {
    int key = data < kr_key::Count ? data + 1 : 0;  // button + 1, without overflow
    if (event == kr_event::MouseUp) {
        ReleaseKey(key);
        return 0;
    }
    if (event == kr_event::MouseDown) PressKey(key);
    else if (event != kr_event::MouseMove) return 0;
    m_PointerX = x;
    m_PointerY = y;
    m_TouchPosX[0] = x;
    m_TouchPosY[0] = y;
    return 0;
}

int c_InputDevice::p_TouchEvent(int event, int data, float x, float y) {
    if (!validFinger(data)) return 0;
    if (event == kr_event::TouchUp) {
        ReleaseKey(kr_key::TouchFirst + data);
        return 0;
    }
    if (event == kr_event::TouchDown) PressKey(kr_key::TouchFirst + data);
    else if (event != kr_event::TouchMove) return 0;
    m_TouchPosX[data] = x;
    m_TouchPosY[data] = y;
    if (data == 0) {
        m_PointerX = x;
        m_PointerY = y;
    }
    return 0;
}

int c_InputDevice::p_MotionEvent(int event, int data, float x, float y, float z) {
    if (event != kr_event::Motion) return 0;
    m_MotionX = x;
    m_MotionY = y;
    m_MotionZ = z;
    return 0;
}

// --- Reads and the keyboard switch ---

bool c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    if (KrGame::_game) KrGame::_game->SetKeyboardEnabled(enabled);
    return true;
}

int c_InputDevice::p_GetChar() {
    if (m_CharGet == m_CharPut) return 0;
    return m_CharQueue[m_CharGet++];
}

int c_InputDevice::p_KeyHit(int key) { return validKey(key) ? m_KeyHits[key] : 0; }
int c_InputDevice::p_KeyDown(int key) { return validKey(key) && m_KeyDown[key] ? 1 : 0; }
float c_InputDevice::p_MouseX() { return m_PointerX; }
float c_InputDevice::p_MouseY() { return m_PointerY; }
float c_InputDevice::p_TouchX(int finger) { return validFinger(finger) ? m_TouchPosX[finger] : 0; }
float c_InputDevice::p_TouchY(int finger) { return validFinger(finger) ? m_TouchPosY[finger] : 0; }

float c_InputDevice::p_JoyX(int index, int port) {
    return validStick(index, port) ? m_JoyStates[port]->m_AxesX[index] : 0;
}

float c_InputDevice::p_JoyY(int index, int port) {
    return validStick(index, port) ? m_JoyStates[port]->m_AxesY[index] : 0;
}

float c_InputDevice::p_AccelX() { return m_MotionX; }
float c_InputDevice::p_AccelY() { return m_MotionY; }

// --- Free functions on the current device ---

int kr_input_SetInputDevice(c_InputDevice* device) {
    gc_assign(kr_input_device, device);
    return 0;
}

int kr_input_EnableKeyboard() {
    kr_input_device->p_SetKeyboardEnabled(true);
    return 1;
}

int kr_input_DisableKeyboard() {
    kr_input_device->p_SetKeyboardEnabled(false);
    return 1;
}

int kr_input_GetChar() { return kr_input_device->p_GetChar(); }
int kr_input_KeyHit(int key) { return kr_input_device->p_KeyHit(key); }
int kr_input_KeyDown(int key) { return kr_input_device->p_KeyDown(key); }
float kr_input_MouseX() { return kr_input_device->p_MouseX(); }
float kr_input_MouseY() { return kr_input_device->p_MouseY(); }

int kr_input_MouseHit(int button) {
    return button >= 0 && button <= 510 ? kr_input_device->p_KeyHit(button + 1) : 0;
}

int kr_input_MouseDown(int button) {
    return button >= 0 && button <= 510 ? kr_input_device->p_KeyDown(button + 1) : 0;
}

// Key 384 + finger; fingers whose key lies outside 1..511 give 0.
int kr_input_TouchDown(int finger) {
    bool inKeySpace = finger > -kr_key::TouchFirst && finger < kr_key::Count - kr_key::TouchFirst;
    return inKeySpace ? kr_input_device->p_KeyDown(kr_key::TouchFirst + finger) : 0;
}
float kr_input_TouchX(int finger) { return kr_input_device->p_TouchX(finger); }
float kr_input_TouchY(int finger) { return kr_input_device->p_TouchY(finger); }

// The joystick key is formed with OR, as the key space lays ports out. It is
// formed in 64 bits so that no port overflows; a code outside the key space
// becomes 0, which every query answers with 0.
static int joyKey(int button, int port) {
    long long code = button | kr_key::JoyFirst | static_cast<long long>(port) * 32;
    return code > 0 && code < kr_key::Count ? static_cast<int>(code) : 0;
}

int kr_input_JoyHit(int button, int port) { return kr_input_device->p_KeyHit(joyKey(button, port)); }
int kr_input_JoyDown(int button, int port) { return kr_input_device->p_KeyDown(joyKey(button, port)); }
float kr_input_JoyX(int index, int port) { return kr_input_device->p_JoyX(index, port); }
float kr_input_JoyY(int index, int port) { return kr_input_device->p_JoyY(index, port); }
float kr_input_AccelX() { return kr_input_device->p_AccelX(); }
float kr_input_AccelY() { return kr_input_device->p_AccelY(); }
