#pragma once
// Where the program's file dialogs open: in the folder the customer used last for the same
// purpose (kept in config.ini across runs), the first time in the user's pictures folder, else
// the home folder; never in the program's working folder.
#include <QString>

class TConfig;

enum class TDialogPurpose {
    AddPhotos, // the main window's photo picker
    AccountFiles, // the transfer window's file picker and its download folder
    SaveFolder, // the save window's folder
};

// An existing folder for the dialog to open in. A remembered folder that has gone, or no
// configuration at all, falls back to the pictures or home folder.
QString DialogStartFolder(const TConfig* config, TDialogPurpose purpose);
// Remembers the folder the customer chose (a chosen file stands for its folder); nothing
// without a configuration or for an empty path.
void RememberDialogFolder(TConfig* config, TDialogPurpose purpose, const QString& chosen);
