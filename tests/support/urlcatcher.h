#pragma once
// Catches the addresses code under test asks the desktop to open, for the schemes given, while
// it lives (QDesktopServices handlers; nothing reaches a browser). TUrlRefuser instead makes
// them fail to open, as on a desktop without a browser or mail program.
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit TUrlCatcher(const QStringList& schemes = { "http", "https", "mailto" });
    ~TUrlCatcher() override;

    QList<QUrl> urls;

public Q_SLOTS:
    void Open(const QUrl& url) { urls.append(url); }

private:
    QStringList schemes_;
};

class TUrlRefuser : public QObject {
    Q_OBJECT
public:
    // Its handler names a method the object does not have, so QDesktopServices::openUrl
    // returns false whatever the platform.
    explicit TUrlRefuser(const QStringList& schemes = { "http", "https", "mailto" });
    ~TUrlRefuser() override;

private:
    QStringList schemes_;
};
