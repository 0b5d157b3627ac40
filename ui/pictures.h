#pragma once
// The program's built-in pictures and mouse cursors (SVG resources drawn for Vendaro).
#include <QCursor>
#include <QImage>
#include <QString>

// The picture of that name ("splash", "inet", "owl", "about1", "about2", "login", "sendorder")
// rendered at its own size on white, or a null image when there is none.
QImage ProgramPicture(const QString& name);

// The start-up picture as the splash window showed it (a skin may have replaced the built-in
// one); null until start-up sets it. User-interface thread only.
void SetSplashPicture(const QImage& picture);
QImage SplashPicture();

// Loads the eight cursors into their slots (5 "handdrag", 6 "wait", 7 "zoom", 8 "zoomout",
// 9 "rot90", 10 "rot180", 11 "rot270", 12 "bw"); a cursor that cannot be made logs
// "Can't make cursor !" and leaves its slot with the arrow.
void LoadCursors();
// The cursor of a slot; the arrow for an empty or unknown slot.
QCursor CursorForSlot(int slot);
