#pragma once
// The decisions of the update and news checks made at every start, on the identification
// files the lab publishes and the ones kept in the program folder.
#include <QString>

// Program-folder files: the fetched seeds (deleted at exit) and the ids kept between runs.
inline constexpr char kUpdateSeedTmp[] = "npid.txt";
inline constexpr char kNewsSeedTmp[] = "nnid.txt";
inline constexpr char kInstalledUpdateId[] = "prog.id";
inline constexpr char kShownNewsId[] = "newsid.txt";

// The first line of a text file, or an empty text when it is missing or empty.
QString FirstLine(const QString& path);

// True when offered is a newer version than current, both read as
// "major.minor.release " (the build number is not compared). Texts of another shape are
// never newer.
bool IsNewerVersion(const QString& offered, const QString& current);

// Whether to offer the update the seed file describes (line 1 the newest version, line 2
// an optional update id). A changed update id offers it whatever the versions say; the first
// id seen is recorded in progIdFile without offering anything. Without an id, or with the
// same id, the versions decide.
bool UpdateOffered(const QString& seedFile, const QString& currentVersion, const QString& progIdFile);

// The update id of the seed file (its line 2) written as the only line of progIdFile.
bool RecordUpdateId(const QString& seedFile, const QString& progIdFile);

// The downloaded installer's name, "vdiu_" + local yyyyMMddhhmmss + ".exe", in a fresh folder
// of TempDir() that only this user may enter (mode 0700), so nobody can plant a file or a
// link under that name beforehand. Empty when no such folder can be made.
QString InstallerPath();
// Makes the installer executable and starts it detached; false when it cannot be started.
bool StartInstaller(const QString& path);

// The news id to show (line 1 of the fetched seed), or an empty text when it is empty or
// equals the id shown last.
QString NewsIdToShow(const QString& shownFile, const QString& fetchedFile);
// Remembers id as shown (the file holds it without a line break).
bool RecordShownNews(const QString& shownFile, const QString& id);
