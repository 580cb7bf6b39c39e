// The installer's six built-in text tables and the choice among them. Every text
// the installer shows comes from the table chosen once at start from the user's
// locale; the texts are code page 1252, as the ANSI calls that show them expect.
// The choice itself is portable (LanguageOfAbbreviation) so that it is tested
// on any machine; DetectLanguage asks Windows (lang_win.cpp).
#pragma once

#include <array>
#include <string>

// Index 0 is the table's own language name and is never shown; 1 to 24 are the
// texts by role (see the comments in lang.cpp).
constexpr int InstallTextCount = 25;
using TInstallTexts = std::array<const char*, InstallTextCount>;

extern const TInstallTexts TextsDE, TextsEN, TextsFR, TextsIT, TextsES, TextsNL;

// The language numbers DetectLanguage gives; SelectLanguage's mapping.
enum TInstallLanguage { ilGerman = 0, ilEnglish = 1, ilDutch = 2, ilSpanish = 3, ilItalian = 4, ilFrench = 5 };

// The language of Windows' abbreviated language name (such as "DEU"): its first
// two characters compared case-sensitively with DE, EN, NL, ES, IT and FR;
// English for anything else, a null pointer included (a failed locale query).
int LanguageOfAbbreviation(const char* Abbreviation);

// The table of a language number; English for a number out of range.
const TInstallTexts& TextsOf(int Language);

// The user's language (Windows only).
int DetectLanguage();
// Chooses CurrentTexts from DetectLanguage; run once before any window exists.
void SelectLanguage();

// The chosen table (English until SelectLanguage runs).
extern const TInstallTexts* CurrentTexts;

// The text at Index of the chosen table.
const char* LangText(int Index);

// Text with its %s replaced by Arg. A plain replacement, not printf: the
// argument is a path or a Windows name and may itself hold a percent sign.
std::string FormatText(const char* Text, const std::string& Arg);
