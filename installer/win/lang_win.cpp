// The user's language from Windows' abbreviated language name (DEU, ENG, FRS...).
#include <windows.h>

#include "lang.h"

int DetectLanguage() {
  char Name[5] = {};
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, Name, sizeof Name)) return ilEnglish;
  Name[2] = '\0';
  return LanguageOfAbbreviation(Name);
}

void SelectLanguage() { CurrentTexts = &TextsOf(DetectLanguage()); }
