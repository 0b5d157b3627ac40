#pragma once
// Qt's own texts (standard buttons, the file, input and colour dialogs, context menus of edit
// fields) in the language of the program's windows, from the system's Qt catalogues.
#include <QTranslator>

#include <memory>

// Installs Qt's Polish catalogue into the application; it stays installed while the returned
// translator lives. Null (and a warning in the log) when the system lacks the catalogue: Qt
// then keeps its English texts.
std::unique_ptr<QTranslator> InstallQtTranslations();
