#pragma once
// Which files "Dodaj zdjęcia ..." offers and accepts: the open dialog's filter list and the
// search of dropped folders.
#include <QStringList>

// The open dialog's filters, in order, as "description (patterns)" entries for QFileDialog.
QStringList PhotoFileFilters();

// The patterns of "Wszystkie obrazy" ("*.jpg", "*.jpeg", ...).
const QStringList& PhotoFilePatterns();

// True when the file name matches one of PhotoFilePatterns (letter case ignored).
bool IsPhotoFileName(const QString& fileName);

// Dropped paths as files to add, in the order dropped: a file as it is (whatever its
// extension, as the dialog's "Wszystkie pliki" allows), a folder as every photo file below it,
// sorted by path with numbers in natural order. Paths that do not exist are left out.
QStringList ExpandDroppedPaths(const QStringList& paths);
