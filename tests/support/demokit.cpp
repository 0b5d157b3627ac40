#include "tests/support/demokit.h"

#include "lab/stamp.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QProcess>

TKit::TKit(int ftpTls)
    : httpPort_(FreeLoopbackPort())
    , ftpPort_(FreeLoopbackPort())
{
    QProcess lab;
    lab.start(QStringLiteral(VENDARO_LAB),
        { "init-demo", Root(), "--http-port", QString::number(httpPort_), "--ftp-port", QString::number(ftpPort_),
            "--ftp-tls", QString::number(ftpTls) });
    made_ = lab.waitForFinished(30000) && lab.exitCode() == 0 && QDir().mkpath(Temp());
}

bool TKit::Serve(const QStringList& faults)
{
    lab_ = std::make_unique<TDemoLab>(Root(),
        QStringList { "--http-port", QString::number(httpPort_), "--ftp-port", QString::number(ftpPort_) } + faults);
    return lab_->Started();
}

void TKit::Edit(const QString& path, const QByteArray& from, const QByteArray& to, bool restamp)
{
    WriteFileBytes(path, ReadFileBytes(path).replace(from, to));
    if (restamp)
        WriteStamp(path);
}

QStringList TKit::ProgramFiles(const QString& mask) const
{
    return QDir(Program()).entryList({ mask }, QDir::Files);
}
