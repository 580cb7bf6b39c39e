// Resource texts by number, from the source the program chose at start (its
// language module or the program itself). The window layer implements it on
// Windows (win/resource_source_win.cpp); native tests supply their own.
#pragma once

#include <string>

// The text with number Id in code page 1252; empty when the source lacks it.
std::string ResourceText(int Id);

