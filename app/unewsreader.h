#pragma once
// Tfnews: the lab's news page in an embedded browser. The news check creates it with the
// page's address, shows it modally and destroys it. The title reads "Ładowanie news'ów ..."
// until the page has loaded, then "NEWS".
#include <QDialog>

class QTimer;
class QUrl;
class QWebEngineView;

class Tfnews : public QDialog {
    Q_OBJECT
public:
    explicit Tfnews(const QString& address, QWidget* parent = nullptr);
    ~Tfnews() override;

    QWebEngineView* web = nullptr;
    QTimer* Timer1 = nullptr;

    const QString& Address() const { return address_; }
    // Whether a request for credentials from this address gets the lab's account: only the
    // news host itself (same scheme, host and port) does, never another site's frame or a
    // link or redirect that leads elsewhere.
    bool OffersAccountTo(const QUrl& request) const;
    void Timer1Timer();
    void webNavigateComplete(bool ok);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString address_;
    bool credentialsOffered_ = false;
};
