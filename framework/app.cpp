// SPDX-License-Identifier: Zlib
#include "framework/app.h"

#include "audio/device.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "graphics/renderer.h"

c_App* kr_app__app;
c_GameDelegate* kr_app__delegate;
KrGame* kr_app__game;
int kr_app__updateRate;

namespace {

// What the graphics device's BeginRender asks for.
constexpr int kRenderDirect = 0;   // draw without the graphics module's frame
constexpr int kRenderLoading = 2;  // the application is still loading

}  // namespace

c_App* c_App::m_new() {
    if (kr_app__app) krError(String("App has already been created"));
    gc_assign(kr_app__app, this);
    gc_assign(kr_app__delegate, (new c_GameDelegate)->m_new());
    kr_app__game->SetDelegate(kr_app__delegate);
    return this;
}

int c_App::p_OnCreate() { return 0; }
int c_App::p_OnSuspend() { return 0; }
int c_App::p_OnResume() { return 0; }
int c_App::p_OnUpdate() { return 0; }
int c_App::p_OnRender() { return 0; }
int c_App::p_OnLoading() { return 0; }
int c_App::p_OnClose() { kr_app_EndApp(); }
int c_App::p_OnBack() { kr_app_EndApp(); }

c_GameDelegate* c_GameDelegate::m_new() { return this; }

void c_GameDelegate::mark() {
    gc_mark_q(m_graphicsDevice);
    gc_mark_q(m_audioDevice);
    gc_mark_q(m_inputDevice);
}

// Runs once, after the window is open: the devices, the default font, then
// the application's own start.
void c_GameDelegate::StartGame() {
    gc_assign(m_graphicsDevice, new gxtkGraphics);
    kr_graphics_SetGraphicsDevice(m_graphicsDevice);
    kr_graphics_SetFont(nullptr, 32);
    gc_assign(m_audioDevice, new gxtkAudio);
    kr_audio_SetAudioDevice(m_audioDevice);
    gc_assign(m_inputDevice, (new c_InputDevice)->m_new());
    kr_input_SetInputDevice(m_inputDevice);
    kr_app__app->p_OnCreate();
}

void c_GameDelegate::SuspendGame() {
    kr_app__app->p_OnSuspend();
    m_audioDevice->Suspend();
}

void c_GameDelegate::ResumeGame() {
    m_audioDevice->Resume();
    kr_app__app->p_OnResume();
}

void c_GameDelegate::UpdateGame() {
    m_inputDevice->p_BeginUpdate();
    kr_app__app->p_OnUpdate();
    m_inputDevice->p_EndUpdate();
}

void c_GameDelegate::RenderGame() {
    int mode = m_graphicsDevice->BeginRender();
    if (mode == kRenderDirect) {
        kr_app__app->p_OnRender();
        m_graphicsDevice->EndRender();
        return;
    }
    kr_graphics_BeginRender();
    if (mode == kRenderLoading) kr_app__app->p_OnLoading();
    else kr_app__app->p_OnRender();
    kr_graphics_EndRender();
    m_graphicsDevice->EndRender();
}

// The close and back keys end the program as soon as they go down.
void c_GameDelegate::KeyEvent(int event, int data) {
    m_inputDevice->p_KeyEvent(event, data);
    if (event != kr_event::KeyDown) return;
    if (data == kr_key::Close) kr_app__app->p_OnClose();
    else if (data == kr_key::Back) kr_app__app->p_OnBack();
}

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) {
    m_inputDevice->p_MouseEvent(event, data, x, y);
}

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) {
    m_inputDevice->p_TouchEvent(event, data, x, y);
}

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    m_inputDevice->p_MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { m_graphicsDevice->DiscardGraphics(); }

int kr_app_SetUpdateRate(int hertz) {
    kr_app__updateRate = hertz;
    kr_app__game->SetUpdateRate(hertz);
    return 0;
}

int kr_app_Millisecs() { return kr_app__game->Millisecs(); }
String kr_app_LoadState() { return kr_app__game->LoadState(); }
int kr_app_SaveState(String state) { return kr_app__game->SaveState(state); }
int kr_app_EndApp() { krError(String()); }
