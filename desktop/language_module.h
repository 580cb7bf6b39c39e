// Choice of the language module: beside the program, a file named like it
// with the extension replaced by the thread locale's three-letter language
// abbreviation ("Quorvale.ENU"), then by its first two letters ("Quorvale.EN").
// The names are worked out here, portably; loading is win/language_module_win.cpp.
#pragma once

#include <string>
#include <vector>

// The module file names to try, in order, for ProgramPath and the locale's
// abbreviated language name; none when the path has no "." or the name is empty.
std::vector<std::string> LanguageModuleCandidates(const std::string& ProgramPath, const std::string& Abbrev);

// The program's title, the caption of its plain messages: the file name of
// ProgramPath up to its first ".", every letter after the first in lower case.
std::string ProgramTitle(const std::string& ProgramPath);
