// LoadLanguageModule: the first step of the program. Chooses the module by the
// starting thread's locale and loads it as a data file; nullptr when none
// applies (the program's built-in German).
#pragma once

#include <windows.h>

HMODULE LoadLanguageModule();
