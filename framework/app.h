// STUB: replaced by the app module.
#pragma once
#include "host/game.h"

class c_App : public Object {
public:
    c_App() {}
    c_App* m_new() { return this; }
};

class c_GameDelegate : public KrGameDelegate {
public:
    c_GameDelegate() {}
};

extern c_App* kr_app__app;
extern c_GameDelegate* kr_app__delegate;
extern KrGame* kr_app__game;
extern int kr_app__updateRate;
