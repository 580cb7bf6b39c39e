// The window's background picture: a JPEG held as a resource, decoded with
// libjpeg into a bitmap the window stretches to its install area.
#pragma once

#include <windows.h>

// A 24-bit bitmap of the RCDATA resource Name; nullptr when it is missing or
// not a JPEG libjpeg can read. The caller owns the bitmap.
HBITMAP LoadJpegResource(const char* Name);
