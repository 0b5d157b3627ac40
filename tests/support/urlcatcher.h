#pragma once
// Catches the addresses code under test asks the desktop to open, for the schemes given, while
// it lives (QDesktopServices handlers; nothing reaches a browser).
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
