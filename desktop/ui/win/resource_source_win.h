// The source of every layout, text and layout picture for the run: the
// language module chosen at start, or the program itself. Pictures that the
// program loads by name for its own drawing ("@NAME" in a layout) always come
// from the program.
#pragma once

#include <windows.h>

#include <string>

#include "layout.h"

void SetResourceModule(HMODULE Module);
HMODULE ResourceModule();

// The layout resource Name of the source; throws TLayoutError when it is missing.
TLayout LoadLayoutResource(const std::string& Name);

// A bitmap of the source (or of the program for "@NAME"); nullptr when missing.
// The caller owns it.
HBITMAP LoadPicture(const std::string& Name);
