// Module file names and the program title, both worked out from the program path.
#include "language_module.h"

#include <cctype>

std::vector<std::string> LanguageModuleCandidates(const std::string& ProgramPath, const std::string& Abbrev) {
  const size_t Dot = ProgramPath.rfind('.');
  if (Dot == std::string::npos || Abbrev.empty()) return {};
  const std::string Stem = ProgramPath.substr(0, Dot + 1);
  std::vector<std::string> Names{Stem + Abbrev};
  if (Abbrev.size() > 2) Names.push_back(Stem + Abbrev.substr(0, 2));
  return Names;
}

std::string ProgramTitle(const std::string& ProgramPath) {
  const size_t Slash = ProgramPath.find_last_of("\\/:");
  std::string Name = ProgramPath.substr(Slash == std::string::npos ? 0 : Slash + 1);
  Name = Name.substr(0, Name.find('.'));
  for (size_t I = 1; I < Name.size(); ++I)
    Name[I] = static_cast<char>(std::tolower(static_cast<unsigned char>(Name[I])));
  return Name;
}
