#pragma once
// THistory: one entry of the order history. It holds the order's metadata lines and draws
// contact-sheet pages of the rendered photos (800 x 600, 48 thumbnails of 90 x 90 each), kept
// in the program's "history" folder as <id>_hist.dat and <id>_<n>.jpg.
#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

class THistory {
public:
    static constexpr int kPageWidth = 800;
    static constexpr int kPageHeight = 600;
    static constexpr int kCellSize = 90;
    static constexpr int kCellStep = 100;
    static constexpr int kCellMargin = 5;
    static constexpr int kPageQuality = 60;

    // Begins a new entry: id from the time of day (to the second), pageCount 0, a first page.
    void StartEntry(const QDateTime& now = QDateTime::currentDateTime());
    // Draws one rendered photo into the next cell; a full page is saved and the next begun.
    void AddThumbnail(const QImage& image);
    // Saves the page being filled as page pageCount (JPEG, quality 60).
    void SavePage();
    // Writes the entry file; false on any write error.
    bool SaveEntry() const;
    // Reads an entry file into this object; false when it cannot be opened or read, its
    // header is wrong or its id is not a plain name.
    bool LoadEntry(const QString& path);
    // The value of the occurrence-th line (0 = first) whose key equals key, case ignored.
    QString GetValue(const QString& key, int occurrence = 0) const;
    // Page n into picture. A missing page: false and picture unchanged; a damaged one: false
    // and a 100 x 100 picture reading "Błąd !".
    bool LoadPage(int n, QImage& picture) const;

    // The files of this entry.
    QString EntryPath() const;
    QString PagePath(int n, bool forWriting = false) const;

    QString id;
    QStringList lines;
    int pageCount = 0;
    QImage page;
    int cellX = 0;
    int cellY = 0;

private:
    void BeginPage();
};
