#pragma once
// Shared pieces of the tests: a scratch folder that is the program folder for one test.
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Makes a fresh temporary folder the program folder (AppDir) for its lifetime.
class ScopedAppDir {
public:
    ScopedAppDir();
    ~ScopedAppDir();
    ScopedAppDir(const ScopedAppDir&) = delete;
    ScopedAppDir& operator=(const ScopedAppDir&) = delete;

    QString Path(const QString& relative = {}) const;

private:
    QTemporaryDir dir_;
    QString previous_;
};

// Sets (or, with nullptr, unsets) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
        , had_(qEnvironmentVariableIsSet(name))
        , old_(qgetenv(name))
    {
        value ? qputenv(name, value) : qunsetenv(name);
    }
    ScopedEnv(const char* name, const QString& value)
        : ScopedEnv(name, QFile::encodeName(value).constData())
    {
    }
    ~ScopedEnv() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// True in a CI run (CI=true), where scripts/install-deps has installed every package a test needs.
bool InCiRun();

// For a test that needs a program from a Debian package: a missing one skips the test on a
// developer's machine and fails it in CI, naming the package, so that CI never passes a test
// it did not run.
#define REQUIRE_INSTALLED(installed, package)                                                                          \
    do {                                                                                                               \
        if (!(installed)) {                                                                                            \
            if (InCiRun())                                                                                             \
                GTEST_FAIL() << package " is not installed, and CI needs it (scripts/install-deps installs it)";       \
            GTEST_SKIP() << package " is not installed (scripts/install-deps installs it)";                            \
        }                                                                                                              \
    } while (false)

// Writes bytes to a file, creating its folder; returns false on failure.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadFileBytes(const QString& path);

// Folder of committed test fixtures (tests/data).
QString TestDataPath(const QString& relative);

// The permission bits (mode & 0777) of a file, -1 when it does not exist.
int FileModeBits(const QString& path);

// GoogleTest prints QString values as readable text.
void PrintTo(const QString& text, std::ostream* os);

// True when the run's log holds exactly this line (at this level, unless level is -1).
bool LogHasLine(const QString& line, int level = -1);

// The folder and every entry under it with its size, time and permissions (a file written and
// removed again shows in its folder's time).
QStringList Snapshot(const QString& folder);

// Takes every write permission from a folder tree, or gives the owner's back; the other bits
// stay (symbolic links are left alone: they would change what they point to).
void SetTreeWritable(const QString& folder, bool writable);
