// libjpeg's own djpeg as the reference for the editor's JPEG decoding: the
// same library with the same settings (-colors 236: two-pass quantiser,
// Floyd-Steinberg dithering) must give the same palette and positions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "source_image.h"

std::string WriteTempFile(const std::string& Name, const std::vector<uint8_t>& Bytes);
// djpeg -colors 236 -bmp of the file, read back with the editor's reader.
TSourceImage DjpegReference(const std::string& JpegFile);
