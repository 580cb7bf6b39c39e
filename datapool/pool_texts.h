// The resource texts that the portable core shows, by number: the data pool's
// and those of the picture editor's loader, which reads bitmaps with the
// pool's helpers. The German texts are built in; PoolText asks the platform,
// which may take them from a language module instead.
#pragma once

#include <string>

constexpr int NoAnswerTextId = 65325;       // a transfer got no answer
constexpr int InvalidFileTextId = 65326;    // a data file with a wrong magic; holds %s
constexpr int MelodyTextId = 65286;         // ring-tone names: this text, a blank, the number
constexpr int InvalidBitmapTextId = 65339;  // a bitmap file that cannot be read

// The picture loader's and the editor's refusals. "%s" is a file name, a
// size "W x H", a count, or libjpeg's own message.
constexpr int NotABitmapTextId = 65340;           // icons and metafiles
constexpr int UnknownExtensionTextId = 65341;     // holds the file name
constexpr int PictureFileTooLargeTextId = 65342;  // holds the file name
constexpr int JpegErrorTextId = 65343;            // holds libjpeg's message
constexpr int JpegComponentsTextId = 65344;       // holds the number of components
constexpr int JpegTooLargeTextId = 65345;         // holds the size
constexpr int JpegOutOfMemoryTextId = 65346;      // holds the size
constexpr int PictureOutOfMemoryTextId = 65347;   // holds the size
constexpr int JpegTooManyScansTextId = 65348;     // holds the bound on a file's scans

// The built-in German text of Id in code page 1252, empty for an unknown Id.
std::string BuiltInPoolText(int Id);
// The text of Id as the installed platform supplies it.
std::string PoolText(int Id);
