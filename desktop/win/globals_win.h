// Globals of the program start that the windows use.
#pragma once

#include <windows.h>

#include <string>

// The mapped 4 bytes of the single-instance memory (the main window writes its
// handle there); nullptr when the program runs without it (tests).
extern void* ShareMemView;
// Path of the data file; set by the main window when it is created.
extern std::string DataFileName;
