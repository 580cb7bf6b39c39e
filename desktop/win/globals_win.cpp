// Storage of the globals of globals_win.h.
#include "globals_win.h"

void* ShareMemView = nullptr;
std::string DataFileName;
