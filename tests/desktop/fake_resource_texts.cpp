// The resource source of the native tests: the program's built-in German
// table (desktop/forms/lang/de.txt), read the way the generator reads it, so
// the routines that look texts up are tested against the real texts.
#include <fstream>
#include <map>
#include <string>

#include "resource_texts.h"

namespace {

std::map<int, std::string> ReadTable() {
  std::map<int, std::string> Table;
  std::ifstream In(QV_GERMAN_TABLE);
  std::string Line;
  while (std::getline(In, Line)) {
    const size_t Eq = Line.find(" = ");
    if (Line.empty() || Line[0] == '#' || Eq == std::string::npos) continue;
    std::string Value;
    for (size_t I = Eq + 3; I < Line.size(); ++I) {
      if (Line[I] == '\\' && I + 1 < Line.size()) {
        ++I;
        Value += Line[I] == 'r' ? '\r' : Line[I];
      } else {
        Value += Line[I];
      }
    }
    Table[std::stoi(Line.substr(0, Eq))] = Value;
  }
  return Table;
}

}  // namespace

std::string ResourceText(int Id) {
  static const std::map<int, std::string> Table = ReadTable();
  const auto It = Table.find(Id);
  return It == Table.end() ? std::string() : It->second;
}
