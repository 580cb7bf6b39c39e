// The file work of the install: writing a payload resource to a file, and the
// copy that replaces an installed file only when its source is newer and makes
// the destination's folders first. Each failure is shown with its path (texts
// 2 to 6) and returned as false.
#pragma once

#include <string>

// Writes the FILELIST resource ResName of the running program to FileName,
// created or overwritten.
bool ExtractResourceFile(const std::string& ResName, const std::string& FileName);

// Copies Source to Dest through the LZ expander, unless Dest exists and is not
// older in MS-DOS time (then true without touching it).
bool ExpandCopyFile(const std::string& Source, const std::string& Dest);

// Creates one folder; true when it was made or a folder of that name exists.
bool CreateFolder(const std::string& Path);
