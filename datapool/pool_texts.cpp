// The built-in German texts. They are written with byte escapes because the
// program shows them in code page 1252 while this file is UTF-8; a line break
// in these texts is the single character 13.
#include "pool_texts.h"

#include "pool_platform.h"

std::string BuiltInPoolText(int Id) {
  switch (Id) {
    case NoAnswerTextId:
      return "Keine Antwort vom Quorvale erhalten\r\r"
             "- Das Quorvale muss eingeschaltet sein\r"
             "- \xDC" "berpr\xFC" "fen Sie die Verbindung";
    case InvalidFileTextId:
      return "Datei %s ist keine g\xFC" "ltige Quorvale-Datenbank";
    case MelodyTextId:
      return "Melodie";
    default:
      return std::string();
  }
}

std::string PoolText(int Id) { return PoolPlatform().ResourceText(Id); }
