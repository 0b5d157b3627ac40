// vendaro-lab package KIT PROGRAM.deb OUTPUT.deb
//
// Writes the program's Debian package again with the lab's kit in its program folder
// (/opt/vendaro): the configuration (config/, without the customer's own config.ini and
// skin.ini), the skins and the tips. KIT is a kit's program folder, or a folder that holds one
// as program/ (what init-demo makes).
#include "tools/vendaro-lab/labcommand.h"

#include "lab/stamp.h"
#include "platform/inifile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

const QString kUsage = QStringLiteral("package KIT PROGRAM.deb OUTPUT.deb");
const QString kProgramFolder = QStringLiteral("opt/vendaro");
const QString kEngineIni = QStringLiteral("config/engine.ini");
// What the program writes in config/ for its customer: never shipped.
const QStringList kCustomerConfig = { QStringLiteral("config/config.ini"), QStringLiteral("config/skin.ini") };

struct PackageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const QString& message)
{
    throw PackageError(message.toStdString());
}

// Runs dpkg-deb; its first line of complaint ends the command.
void DpkgDeb(const QStringList& args, const QString& failure)
{
    QProcess dpkg;
    dpkg.start(QStringLiteral("dpkg-deb"), args);
    if (!dpkg.waitForStarted())
        Fail(QStringLiteral("dpkg-deb cannot be run; install the package dpkg"));
    dpkg.waitForFinished(-1);
    if (dpkg.exitStatus() != QProcess::NormalExit || dpkg.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(dpkg.readAllStandardError()).trimmed().section(u'\n', 0, 0);
        Fail(failure + (why.isEmpty() ? QString() : ": " + why));
    }
}

QString KitFolder(const QString& kit)
{
    if (!QFileInfo(kit).isDir())
        Fail(kit + ": no such kit folder");
    for (const QString& folder : { kit + "/program", kit })
        if (QFileInfo(folder + u'/' + kEngineIni).isFile())
            return QDir(folder).absolutePath();
    Fail(kit + " holds no lab configuration (" + kEngineIni + ")");
}

// The kit's files to ship, relative to its folder.
QStringList KitFiles(const QString& folder)
{
    QStringList files;
    QDirIterator config(folder + "/config", QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (config.hasNext()) {
        const QString file = config.next().mid(folder.size() + 1);
        if (!kCustomerConfig.contains(file))
            files << file;
    }
    for (const QString& skin : QDir(folder + "/skins").entryList({ QStringLiteral("*.vdskin") }, QDir::Files))
        files << "skins/" + skin;
    if (QFileInfo(folder + "/tips.ini").isFile())
        files << QStringLiteral("tips.ini");
    files.sort();
    return files;
}

void CopyInto(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    QFile::remove(to);
    if (!QFile::copy(from, to))
        Fail("cannot copy " + from);
    QFile::setPermissions(
        to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
}

// Folders made for the kit get the package's usual mode 0755.
void OpenFolders(const QString& root)
{
    QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

// DEBIAN/md5sums over every file of the tree, as dpkg --verify reads it.
void WriteMd5sums(const QString& tree)
{
    QStringList lines;
    QDirIterator it(tree, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(tree.size() + 1);
        if (relative.startsWith(QLatin1String("DEBIAN/")) || QFileInfo(path).isSymLink())
            continue;
        QFile file(path);
        QCryptographicHash md5(QCryptographicHash::Md5);
        if (!file.open(QIODevice::ReadOnly) || !md5.addData(&file))
            Fail("cannot read " + path);
        lines << QString::fromLatin1(md5.result().toHex()) + "  " + relative;
    }
    lines.sort();
    QFile sums(tree + "/DEBIAN/md5sums");
    if (!sums.open(QIODevice::WriteOnly | QIODevice::Truncate) || sums.write((lines.join(u'\n') + u'\n').toUtf8()) < 0)
        Fail("cannot write " + sums.fileName());
}

// Installed-Size grows by the kit's kibibytes.
void GrowInstalledSize(const QString& tree, qint64 bytes)
{
    QFile control(tree + "/DEBIAN/control");
    if (!control.open(QIODevice::ReadOnly))
        Fail("the package has no control file");
    QString text = QString::fromUtf8(control.readAll());
    control.close();
    static const QRegularExpression size(
        QStringLiteral("^Installed-Size: *(\\d+)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = size.match(text);
    if (match.hasMatch())
        text.replace(match.capturedStart(1), match.capturedLength(1),
            QString::number(match.captured(1).toLongLong() + (bytes + 1023) / 1024));
    if (!control.open(QIODevice::WriteOnly | QIODevice::Truncate) || control.write(text.toUtf8()) < 0)
        Fail("cannot write " + control.fileName());
}

int RunPackage(const QStringList& args)
{
    if (args.size() != 3)
        return LabFail("usage: vendaro-lab " + kUsage);
    try {
        const QString kit = KitFolder(args[0]);
        const QString engine = kit + u'/' + kEngineIni;
        if (ComputeStamp(engine) != TIniFile(engine).ReadString("digitalstamp", "stamp", ""))
            Fail(engine + " has no valid stamp; run vendaro-lab stamp --write on it");
        if (!QFileInfo(args[1]).isFile())
            Fail(args[1] + ": no such package");
        QTemporaryDir work;
        if (!work.isValid())
            Fail(QStringLiteral("cannot make a temporary folder"));
        const QString tree = work.filePath(QStringLiteral("tree"));
        DpkgDeb({ QStringLiteral("-R"), args[1], tree }, args[1] + " is not a Debian package");
        const QString program = tree + u'/' + kProgramFolder;
        if (!QFileInfo(program + "/vendaro").isFile())
            Fail(args[1] + " holds no Vendaro program (/" + kProgramFolder + "/vendaro)");
        const QStringList files = KitFiles(kit);
        qint64 bytes = 0;
        for (const QString& file : files) {
            CopyInto(kit + u'/' + file, program + u'/' + file);
            bytes += QFileInfo(kit + u'/' + file).size();
        }
        OpenFolders(program);
        WriteMd5sums(tree);
        GrowInstalledSize(tree, bytes);
        DpkgDeb({ QStringLiteral("--root-owner-group"), QStringLiteral("--build"), tree, args[2] },
            "cannot write " + args[2]);
        LabPrint(QStringLiteral("Package written to %1 with %2 files of the lab's kit (%3)")
                     .arg(args[2], QString::number(files.size()), TIniFile(engine).ReadString("misc", "progname", "")));
        return 0;
    } catch (const PackageError& e) {
        return LabFail(QString::fromUtf8(e.what()));
    }
}

const LabCommand command(QStringLiteral("package"), kUsage,
    QStringLiteral("Writes OUTPUT.deb: the program's package PROGRAM.deb (cpack -G DEB) with the lab's\n"
                   "kit in its program folder /opt/vendaro: config/ (without the customer's\n"
                   "config.ini and skin.ini), skins/*.vdskin and tips.ini. KIT is the kit's program\n"
                   "folder or a folder holding it as program/, as init-demo makes. Needs dpkg-deb."),
    RunPackage);

} // namespace
