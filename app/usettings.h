#pragma once
// Tfsettings ("fsettings"): "Ustawienia", the user's configuration on three pages: general
// options with a live preview of a thumbnail cell, the skin for the next start with a sample
// window dressed by a second skin engine, and the internet connection with a proxy tester.
// "OK" stores the controls into the configuration in memory and closes with
// kThumbSettingsChanged when a thumbnail setting changed, else 1; "Anuluj" stores nothing.
//
// The proxy test comes as a link (SetProxyTestLink) that the program's window list gives it;
// the window disables itself while the test runs.
#include "net/proxytest.h"
#include "ui/formslot.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSlider;
class TColorFrame;
class TGradientButton;
class TMousedPanel;
class TNiceCheckBox;
class TSkinner;
class TStatusLabel;
struct TSettingsFields;

using TProxyTestLink = std::function<TProxyTestResult(const TProxyTestInput&, const TProxyTestListener&)>;

class Tfsettings : public QDialog {
    Q_OBJECT
public:
    explicit Tfsettings(QWidget* parent = nullptr);
    ~Tfsettings() override;

    void SetProxyTestLink(TProxyTestLink test);

    // Makes the page whose tag is `tag` visible (1 general, 2 skin, 3 connection) and draws
    // its button selected.
    void ShowPage(int tag);

    // The preview cell's rectangle in `thumbnailPreview` for the controls as they are.
    QRect PreviewCell() const;
    // The 200 x 200 rainbow the preview shows as its photo.
    const QImage& SamplePicture() const { return sample_; }
    // The skin engine of the sample window while the window shows (null otherwise).
    const TSkinner* PreviewSkin() const { return previewSkin_.get(); }
    // True from showing until a proxy field is edited, again after a successful test.
    bool ProxyTested() const { return proxyTested_; }

    TGradientButton* bgeneral = nullptr;
    TGradientButton* skinPageButton = nullptr; // "skórka"
    TGradientButton* connectionPageButton = nullptr; // "połączenie z internetem"
    TMousedPanel* generalPage = nullptr;
    TMousedPanel* skinPage = nullptr;
    TMousedPanel* connectionPage = nullptr;
    TGradientButton* bok = nullptr;
    TGradientButton* bcancel = nullptr;

    TNiceCheckBox* cbfexit = nullptr;
    TNiceCheckBox* cbfdelete = nullptr;
    TNiceCheckBox* cbfpickdefformat = nullptr;
    TNiceCheckBox* cbshowtips = nullptr;
    QSlider* tbthumbsize = nullptr;
    QSlider* tbthumbborder = nullptr;
    TNiceCheckBox* cbtname = nullptr;
    TNiceCheckBox* cbtsize = nullptr;
    TNiceCheckBox* cbtprice = nullptr;
    TNiceCheckBox* cbtres = nullptr;
    TNiceCheckBox* cbselected = nullptr;
    QWidget* thumbnailPreview = nullptr;

    QListWidget* lbskin = nullptr;
    TGradientButton* useSkinButton = nullptr; // "użyj zaznaczonej"
    TStatusLabel* slcurskin = nullptr;
    TMousedPanel* sampleWindow = nullptr; // the skin shown on window parts
    TMousedPanel* sampleControls = nullptr; // inside it: a list, buttons, boxes

    TNiceCheckBox* cbpassive = nullptr;
    QComboBox* cbtimeout = nullptr;
    TNiceCheckBox* cbuseproxy = nullptr;
    QLineEdit* eproxy_host = nullptr;
    QLineEdit* eproxy_port = nullptr;
    QLineEdit* eproxy_login = nullptr;
    QLineEdit* eproxy_pass = nullptr;
    TGradientButton* btestproxy = nullptr;
    QLabel* lproxy_http = nullptr;
    QLabel* lproxy_ftp = nullptr;

    void bokClick();
    void lbskinClick();
    void useSkinButtonClick();
    void cbuseproxyClick();
    void btestproxyClick();

public Q_SLOTS:
    // Escape and the close box: refused while a proxy test runs.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPageButtons();
    void BuildGeneralPage();
    void BuildSkinPage();
    void BuildSampleWindow();
    void BuildConnectionPage();
    // The check boxes and edits that show one field each.
    std::vector<std::pair<TNiceCheckBox*, bool TSettingsFields::*>> BoxFields() const;
    std::vector<std::pair<QLineEdit*, QString TSettingsFields::*>> EditFields() const;
    void LoadControls(const TSettingsFields& fields);
    TSettingsFields ControlFields() const;
    void LoadPreviewSkin(const QString& name);
    void ThumbControlChanged();
    void drawPaint(QPainter& painter);

    std::array<TGradientButton*, 3> pageButtons_ {};
    std::array<TMousedPanel*, 3> pages_ {};
    QImage sample_;
    std::unique_ptr<TSkinner> previewSkin_;
    TProxyTestLink proxyTest_;
    bool thumbChanged_ = false;
    bool proxyTested_ = true;
    bool testing_ = false;
    TFormSlotEntry<Tfsettings> slot_ { this };
};

// The program's settings window (the one start-up created, or one made on first use).
inline Tfsettings& fsettings()
{
    return TFormSlot<Tfsettings>::Get();
}
