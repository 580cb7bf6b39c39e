// Language module lookup on Windows; the file names come from
// LanguageModuleCandidates.
#include "language_module_win.h"

#include <string>

#include "language_module.h"

HMODULE LoadLanguageModule() {
  char Path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Path, MAX_PATH);
  char Abbrev[4] = {};
  if (!GetLocaleInfoA(GetThreadLocale(), LOCALE_SABBREVLANGNAME, Abbrev, sizeof(Abbrev))) Abbrev[0] = '\0';
  for (const std::string& Name : LanguageModuleCandidates(Path, Abbrev))
    if (HMODULE Module = LoadLibraryExA(Name.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) return Module;
  return nullptr;
}
