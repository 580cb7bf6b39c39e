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
    case InvalidBitmapTextId:
      return "Bitmap ist ung\xFC" "ltig";
    case NotABitmapTextId:
      return "Bild kann nicht in eine Bitmap umgewandelt werden";
    case UnknownExtensionTextId:
      return "Unbekannte Bilddateierweiterung: %s";
    case PictureFileTooLargeTextId:
      return "Bilddatei ist zu gro\xDF: %s";
    case JpegErrorTextId:
      return "JPEG-Fehler: %s";
    case JpegComponentsTextId:
      return "JPEG-Fehler: %s Farbkomponenten werden nicht unterst\xFCtzt";
    case JpegTooLargeTextId:
      return "JPEG-Fehler: Bild mit %s Pixeln ist zu gro\xDF";
    case JpegOutOfMemoryTextId:
      return "JPEG-Fehler: zu wenig Speicher f\xFCr %s Pixel";
    case PictureOutOfMemoryTextId:
      return "Zu wenig Speicher f\xFCr ein Bild mit %s Pixeln";
    case JpegTooManyScansTextId:
      return "JPEG-Fehler: mehr als %s Scans";
    default:
      return std::string();
  }
}

std::string PoolText(int Id) { return PoolPlatform().ResourceText(Id); }
