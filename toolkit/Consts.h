// The toolkit's resource strings: captions and questions of its stock dialogs, in the
// language of the module (German).  An "&" marks the accelerator of a caption.
#pragma once

// Select-directory dialog.
inline constexpr const char SSelectDirCap[] = "Verzeichnis auswählen";
inline constexpr const char SDirNameCap[] = "&Verzeichnisname:";
inline constexpr const char SDrivesCap[] = "&Laufwerke:";
inline constexpr const char SDirsCap[] = "Ver&zeichnisse:";
inline constexpr const char SFilesCap[] = "&Dateien:";
inline constexpr const char SNetworkCap[] = "&Netzwerk...";
inline constexpr const char SOKButton[] = "OK";
inline constexpr const char SCancelButton[] = "Abbrechen";
inline constexpr const char SHelpButton[] = "&Hilfe";
inline constexpr const char SConfirmCreateDir[] =
    "Das angegebene Verzeichnis existiert nicht. Soll es erstellt werden?";
