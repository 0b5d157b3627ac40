#pragma once
// The update and news checks of the start-up, with their questions and windows.
#include <QString>

class QWidget;

// When the lab enables updates and the seed file offers one: asks, downloads the installer
// (the fetch window over owner), starts it and returns true: the program must end now.
// False in every other case, start-up goes on.
bool UpdateCheck(const QString& idFile, const QString& installerAddress, QWidget* owner);

// Shows the news window on newsAddress when the fetched seed holds a news id not shown yet,
// and remembers it as shown.
void NewsCheck(const QString& shownFile, const QString& fetchedFile, const QString& newsAddress);
