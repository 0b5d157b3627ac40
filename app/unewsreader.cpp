#include "app/unewsreader.h"

#include "core/coreobjects.h"
#include "lab/md5.h"
#include "lab/vdengine.h"
#include "ui/keyboardwindow.h"
#include "ui/windowparts.h"

#include <QAuthenticator>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

namespace {

// The browser's sandbox cannot start for root; it is turned off (before the engine's first
// use) rather than leaving the news window blank.
void AllowBrowserAsRoot()
{
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

Tfnews::Tfnews(const QString& address, QWidget* parent)
    : QDialog(parent)
    , address_(address)
{
    setObjectName(QStringLiteral("fnews"));
    setWindowTitle(QStringLiteral("NEWS"));
    setFixedSize(515, 396);

    AllowBrowserAsRoot();
    web = MakeNamed<QWebEngineView>(this, "web", QRect(8, 8, 500, 381));
    connect(web, &QWebEngineView::loadFinished, this, &Tfnews::webNavigateComplete);
    // A lab that protects its news page asks for the same account as every other request;
    // it is offered once, and only to the news host, so refused credentials end in the
    // browser's error page and no other site ever sees them.
    connect(
        web->page(), &QWebEnginePage::authenticationRequired, this, [this](const QUrl& request, QAuthenticator* auth) {
            const TEngine* engine = Core().engine;
            if (!engine || credentialsOffered_ || !OffersAccountTo(request)) {
                *auth = QAuthenticator(); // a null authenticator cancels the request
                return;
            }
            credentialsOffered_ = true;
            auth->setUser(engine->user);
            auth->setPassword(MD5Hex(engine->pass));
        });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &Tfnews::Timer1Timer);
    UseFromKeyboard(this, web);
    // The page takes every key it is given, Escape too, so the window claims Escape first.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QDialog::reject);
}

Tfnews::~Tfnews() = default;

void Tfnews::showEvent(QShowEvent* event)
{
    setWindowTitle(QStringLiteral("Ładowanie news'ów ..."));
    Timer1->start();
    QDialog::showEvent(event);
}

bool Tfnews::OffersAccountTo(const QUrl& request) const
{
    const QUrl news = QUrl::fromUserInput(address_);
    const auto port = [](const QUrl& url) { return url.port(url.scheme() == QLatin1String("https") ? 443 : 80); };
    return request.isValid() && !request.host().isEmpty() && request.scheme() == news.scheme()
        && request.host() == news.host() && port(request) == port(news);
}

void Tfnews::Timer1Timer()
{
    Timer1->stop();
    web->load(QUrl::fromUserInput(address_));
}

void Tfnews::webNavigateComplete(bool ok)
{
    if (ok)
        setWindowTitle(QStringLiteral("NEWS"));
}
