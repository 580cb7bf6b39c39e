// The resource texts that the data pool itself shows, by number. The German
// texts are built in; PoolText asks the platform, which may take them from a
// language module instead.
#pragma once

#include <string>

constexpr int NoAnswerTextId = 65325;     // a transfer got no answer
constexpr int InvalidFileTextId = 65326;  // a data file with a wrong magic; holds %s
constexpr int MelodyTextId = 65286;       // ring-tone names: this text, a blank, the number

// The built-in German text of Id in code page 1252, empty for an unknown Id.
std::string BuiltInPoolText(int Id);
// The text of Id as the installed platform supplies it.
std::string PoolText(int Id);
