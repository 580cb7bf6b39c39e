// The picture loader: a file becomes a source picture by the kind its name's
// extension says. Bitmaps and JPEG files become sources; icons and metafiles
// are picture kinds the open dialog lists too, but they cannot become a
// bitmap source. Every refusal raises EInvalidGraphic with the cause.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "jpeg_reader.h"
#include "source_image.h"

enum class TPictureKind { Bitmap, Jpeg, Icon, EnhancedMetafile, Metafile, Unknown };

// A kind's file name extensions, lower case and without the dot; none for
// Unknown. The names the loader reads and those the open dialog lists are
// these, so the two cannot drift apart.
const std::vector<std::string>& ExtensionsOf(TPictureKind Kind);
TPictureKind PictureKindOf(const std::string& FileName);

// Raises EInvalidGraphic, or EFileStreamError when the file cannot be read.
TSourceImage LoadPictureFile(const std::string& FileName, const TPictureProgress& Progress);
// The same for bytes already in memory, FileName naming their kind.
TSourceImage LoadPictureBytes(const std::string& FileName, const uint8_t* Data, size_t Size,
                              const TPictureProgress& Progress);
