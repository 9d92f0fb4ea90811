// STUB: replaced by the app module.
#include "framework/app.h"

c_App* kr_app__app;
c_GameDelegate* kr_app__delegate;
KrGame* kr_app__game;
int kr_app__updateRate;
