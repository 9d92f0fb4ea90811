// Placeholders for the menu, options, quit screen, credits and badges until
// they land.
#include "game/game.h"
Array<String> kr_Vex_CreditLines() { return Array<String>(49); }
int c_MyApp::p_Menu() { return 0; }
int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_OuyaQuit() { return 0; }
int c_MyApp::p_CreditBox() { return 0; }
String c_MyApp::p_BadgeID(int) { return String(); }
String c_MyApp::p_BadgeName(int) { return String(); }
String c_MyApp::p_BadgeDetail(int) { return String(); }
int c_MyApp::p_ShowBadges() { return 0; }
int c_MyApp::p_BadgesBox() { return 0; }
int c_MyApp::p_GC_Badges() { return 0; }
int c_MyApp::p_GC_PostScore(int, int) { return 0; }
