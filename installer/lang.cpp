// The text tables. Non-ASCII letters are written as code page 1252 escapes so
// that the bytes are the ones Windows shows whatever the source encoding.
// Roles by index: 1 start of the OS line; 2 to 6 message boxes (2 temp file
// not writable, 3 source not openable, 4 folder not creatable, 5 destination
// not creatable, 6 copy failed; each with the path); 7 status while extracting;
// 8, 9, 10, 11 captions of the install button and of the cancel button before,
// after a failed and after a successful install; 12 to 15 status while
// copying, making the shortcuts, registering the kernel driver and the device
// INF; 16 the check box; 17 the message on Windows 98 and ME naming the device
// INF; 18 status while finishing; 19 to 22 status of a failed step (extract,
// copy, shortcuts, USB driver); 23 status after success; 24 the refused
// Windows version's message.
#include "lang.h"

const TInstallTexts TextsDE = {{
    "Deutsch",
    "Betriebsystem",
    "Kann Datei <%s> nicht extrahieren",
    "Kann Datei <%s> nicht \xF6" "ffnen",
    "Kann Verzeichnis <%s> nicht erstellen",
    "Kann Datei <%s> nicht erstellen",
    "Kann Datei <%s> nicht kopieren",
    "Extrahiere Dateien...",
    "Installieren",
    "Abbrechen",
    "Schliessen",
    "Beenden",
    "Dateien werden kopiert...",
    "Verkn\xFCpfungen werden erstellt...",
    "Kernel USB-Treiber wird installiert...",
    "Quorvale USB-Treiber wird installiert...",
    "USB Treiber erneut installieren",
    // 17: five lines joined by single carriage returns
    "F\xFCr die endg\xFCltige Installation gehen Sie wie folgt vor:\r"
    "\r"
    "- Quorvale an Ihren Computer anschliessen.\r"
    "- Wenn das Dialogfeld \"Neue Hardware gefunden\" erscheint,\r"
    "  w\xE4hlen Sie die Datei <%s> aus.",
    "Beendigung...",
    "Fehler beim Extrahieren der Dateien",
    "Fehler beim Kopieren der Dateien",
    "Fehler beim Erstellen der Verkn\xFCpfungen",
    "Fehler beim Installieren des USB Treibers",
    "Quorvale Desktop wurde erfolgreich installiert",
    "Quorvale Desktop wird von %s nicht unterst\xFCtzt",
}};

const TInstallTexts TextsEN = {{
    "English",
    "Operating system",
    "Cannot extract file <%s>",
    "Cannot open file <%s>",
    "Cannot create directory <%s>",
    "Cannot create file <%s>",
    "Cannot copy file <%s>",
    "Extracting files...",
    "Install",
    "Cancel",
    "Close",
    "Exit",
    "Files are copied...",
    "Createing shortcuts...",
    "Installing Kernel USB driver...",
    "Installing Quorvale USB driver...",
    "Reinstall USB driver",
    // 17: five lines joined by single carriage returns
    "For the final installation you proceed as follows:\r"
    "\r"
    "- Connect the Quorvale to the computer.\r"
    "- If a dialog field shows \x93" "Add Hardware Wizard\r"
    "  select file <%s>",
    "Finishing...",
    "Error while extracting the files",
    "Error while copying the files",
    "Error while creating the shortcuts",
    "Error while installing the USB driver",
    "Quorvale Desktop was successfully installed",
    "<%s> is not supported by Quorvale Desktop",
}};

const TInstallTexts TextsFR = {{
    "Franz\xF6sisch",
    "Syst\xE8me d'exploitation",
    "Impossible d'extraire le fichier <%s>",
    "Impossible d'ouvrir le fichier <%s>",
    "Impossible de cr\xE9" "er le r\xE9pertoire <%s>",
    "Impossible de cr\xE9" "er le fichier <%s>",
    "Impossible de copier le fichier <%s>",
    "Extraction des fichiers...",
    "Installer",
    "Annuler",
    "Fermer",
    "Terminer",
    "Copie des fichiers en cours...",
    "Cr\xE9" "ation des raccourcis",
    "Installation du pilote USB Kernel...",
    "Installation du pilote USB Quorvale...",
    "R\xE9installer le pilote USB",
    // 17: five lines joined by single carriage returns
    "Pour l'installation compl\xE8te, proc\xE9" "der comme suit:\r"
    "\r"
    "- Connecter le Quorvale \xE0 l'ordinateur\r"
    "- Lorsque le champ \"Nouveau mat\xE9riel d\xE9tect\xE9\" appara\xEEt,\r"
    "  s\xE9lectionner le fichier <%s>",
    "Ach\xE8vement de l'installation...",
    "Erreur lors de l'extraction des fichiers",
    "Erreur lors de la copie des fichiers",
    "Erreur lors de la cr\xE9" "ation des raccourcis",
    "Erreur lors de l'installation du pilote",
    "L'installation du logiciel Quorvale Desktop a \xE9t\xE9 r\xE9" "alis\xE9" "e avec succ\xE8s",
    "L'installation du logiciel Quorvale Desktop n'est pas support\xE9 par <%s>",
}};

const TInstallTexts TextsIT = {{
    "Italian",
    "Sistema operativo",
    "Archivio <%s> non pu\xF3 essere estratto",
    "Archivio <%s> non si apre",
    "Indice <%s> non viene installado",
    "Archivio <%s> non viene installado",
    "Archivio <%s> non viene copiato",
    "Estrarre dati...",
    "Installare",
    "Interrompere",
    "Chiudere",
    "Terminare",
    "Dati vengono copiati",
    "Connessioni vengono attivate ...",
    "Driver-USB Kernel viene installato",
    "Driver-USB Quorvale viene installato",
    "Riinstallare driver USB",
    // 17: five lines joined by single carriage returns
    "Per un' installazione definitiva proseguire come segue:\r"
    "\r"
    "- Collegare Quorvale al computer\r"
    "- Quando appare il campo dialogo \"Trovato nuovo hardware\"\r"
    "  Selezionare i dati <%s>.",
    "Terminare...",
    "Errore nell'estrazione dati",
    "Errore al copiare i dati",
    "Errore nell'attivazione delle connessioni",
    "Errore nell'installazione del driver USB",
    "Il desktop Quorvale \xE8 stato installato con successo",
    "Il desktop Quorvale non \xE8 sostenuto dal <%s>",
}};

const TInstallTexts TextsES = {{
    "Spanish",
    "Sistema de operaci\xF3n",
    "Archivo <%s> no puede ser extractado",
    "Archivo <%s> nos se abre",
    "Indice <%s> no viene instalado",
    "Archivo <%s> no viene instalado",
    "Archivo <%s> no viene copiado",
    "Estractar datos",
    "Instalar",
    "Interrumpir",
    "Cerrar",
    "Terminar",
    "Datos seran copiados",
    "Conexiones seran activadas",
    "Driver-USB Kernel sera instalado",
    "Driver-USB Quorvale sera instalado",
    "Reinstalar Driver USB",
    // 17: five lines joined by single carriage returns
    "Para una instalaci\xF3n definitiva proseguir seg\xFAn las instrucciones:\r"
    "\r"
    "- Conectar Quorvale al ordenador\r"
    "- Cuando aparece el campo dialogo \"Encontrar hardware nueva\"\r"
    "  Seleccionar los datos <%s>",
    "Terminar...",
    "Equivocaci\xF3n en la estracci\xF3n de los datos",
    "Equivocaci\xF3n en el copiar de los datos",
    "Equivocaci\xF3n en la activaci\xF3n de las conexiones",
    "Equivocaci\xF3n de la instalaci\xF3n del driver USB",
    "El desktop Quorvale ha sido instalado con exito",
    "El desktop Quorvale no esta apoyado por <%s>",
}};

const TInstallTexts TextsNL = {{
    "Dutch",
    "Besturingssysteem",
    "Kan bestand <%s> niet uitpakken",
    "Kan bestand <%s> niet openen",
    "Kan folder <%s> niet aanmaken",
    "Kan bestand <%s> niet aanmaken",
    "Kan bestand <%s> niet kopi\xEBren",
    "Bestanden uitpakken\x85",
    "Installeren",
    "Annuleren",
    "Sluiten",
    "Be\xEBindigen",
    "Bestanden worden gekopieerd\x85",
    "Snelkoppelingen worden gemaakt\x85",
    "Kernel USB stuurprogramma wordt ge\xEFnstalleerd...",
    "Quorvale USB stuurprogramma wordt ge\xEFnstalleerd...",
    "USB stuurprogramma herinstalleren",
    // 17: five lines joined by single carriage returns
    "Volg onderstaande stappen om de installatie te voltooien:\r"
    "\r"
    "- Sluit de Quorvale op de computer aan\r"
    "- Selecteer bij de dialoog \"Wizard Nieuwe hardware\"\r"
    "het bestand <%s>",
    "Voltooien...",
    "Fout bij het uitpakken van de bestanden",
    "Fout bij het kopi\xEBren van de bestanden",
    "Fout bij het aanmaken van de snelkoppelingen",
    "Fout bij het installeren van het USB stuurprogramma",
    "Quorvale Desktop is succesvol ge\xEFnstalleerd",
    "<%s> wordt niet ondersteund door Quorvale Desktop",
}};

const TInstallTexts* CurrentTexts = &TextsEN;

int LanguageOfAbbreviation(const char* Abbreviation) {
  static const char* const Prefixes[] = {"DE", "EN", "NL", "ES", "IT", "FR"};
  if (!Abbreviation) return ilEnglish;
  for (int I = 0; I < 6; ++I)
    // The first character matching a letter guarantees a second one to read.
    if (Abbreviation[0] == Prefixes[I][0] && Abbreviation[1] == Prefixes[I][1]) return I;
  return ilEnglish;
}

const TInstallTexts& TextsOf(int Language) {
  switch (Language) {
    case ilGerman: return TextsDE;
    case ilDutch: return TextsNL;
    case ilSpanish: return TextsES;
    case ilItalian: return TextsIT;
    case ilFrench: return TextsFR;
    default: return TextsEN;
  }
}

const char* LangText(int Index) { return (*CurrentTexts)[Index]; }

std::string FormatText(const char* Text, const std::string& Arg) {
  std::string Result = Text;
  const auto At = Result.find("%s");
  if (At != std::string::npos) Result.replace(At, 2, Arg);
  return Result;
}
