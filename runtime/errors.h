// SPDX-License-Identifier: Zlib
// Console output and fatal-error reporting: runtime errors, signals and the
// line protocol by which an attached debugger inspects a stopped program.
#pragma once

#include "runtime/string.h"

extern const char* dbg_info;  // current call position; never maintained here

int krPrint(String s);
int krDebugLog(String s);
// An empty message is the quiet exit (code 0); any other is a runtime error.
[[noreturn]] int krError(String s);

[[noreturn]] void dbg_error(const char* err);
String dbg_stacktrace();
void dbg_stop();
void dbg_print(String s);
[[noreturn]] void sighandler(int sig);
// The message a signal is reported with.
const char* dbg_signal_message(int sig);
