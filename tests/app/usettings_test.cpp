#include "app/usettings.h"
#include "tests/support/windowdriver.h"

#include "app/settingsrules.h"
#include "core/core.h"
#include "core/coreobjects.h"
#include "platform/appdir.h"
#include "platform/inifile.h"
#include "project/numbertext.h"
#include "project/umain.h"
#include "skin/skinbuilder.h"
#include "skin/skinner.h"
#include "tests/support/testsupport.h"
#include "ui/gradientbutton.h"
#include "ui/mousedpanel.h"
#include "ui/nicecheckbox.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A skin whose colours are all different from the desktop's: "background" is 1,11,21 and so on.
void WriteTestSkin(const QString& path, int shift = 0)
{
    TSkinSource source;
    source.schemeName = QStringLiteral("test");
    for (size_t i = 0; i < kSkinColorNames.size(); ++i)
        source.colorLines << QStringLiteral("%1=%2,%3,%4")
                                 .arg(QLatin1String(kSkinColorNames[i]))
                                 .arg(int(i) + 1 + shift)
                                 .arg(int(i) + 11 + shift)
                                 .arg(int(i) + 21 + shift);
    QString error;
    ASSERT_TRUE(WriteSkinFile(path, source, error)) << error.toStdString();
}

class SettingsWindow : public testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(app_.Path("skins"));
        QDir().mkpath(app_.Path("config"));
        WriteTestSkin(app_.Path("skins/grafit.vdskin"));
        WriteTestSkin(app_.Path("skins/morska bryza.vdskin"), 100);
        WriteFileBytes(app_.Path("skins/uszkodzona.vdskin"), "VD: not a skin");
        TConfig::SetSelectedSkinName(QStringLiteral("grafit"));
        Core().config = &config_;
        Core().skinner = &skinner_;
    }
    void TearDown() override
    {
        Core().config = nullptr;
        Core().skinner = nullptr;
    }

    // Opens the window, runs act inside its modal loop, and returns its result (act closes it).
    int Open(const std::function<void()>& act)
    {
        QTimer::singleShot(0, &window_, act);
        return window_.exec();
    }

    QString SavedConfig() const
    {
        config_.Save();
        return QString::fromLatin1(ReadFileBytes(TConfig::FileName()));
    }

    ScopedAppDir app_;
    TConfig config_;
    TSkinner skinner_;
    Tfsettings window_;
};

TEST_F(SettingsWindow, OkWithoutChangesReturnsOneAndKeepsEveryValue)
{
    for (const bool passive : { true, false }) {
        SCOPED_TRACE(passive);
        config_.passive = passive;
        config_.timout = 40000;
        config_.fdelete = false;
        config_.thumbbitmapwidth = config_.thumbbitmapheight = 120;
        config_.thumbborder = 3;
        config_.thumbsize = true;
        config_.thumbprice = false;
        config_.useproxy = true;
        config_.proxy_host = QStringLiteral("proxy.example");
        config_.proxy_port = QStringLiteral("3128");
        config_.proxy_login = QStringLiteral("jan");
        config_.proxy_pass = QStringLiteral("tajne hasło");
        config_.proxy_ftp_type = 3;
        const TSettingsFields before = SettingsFields(config_);
        const int ftpType = config_.proxy_ftp_type;
        EXPECT_EQ(Open([this] { window_.bokClick(); }), QDialog::Accepted);
        const TSettingsFields after = SettingsFields(config_);
        EXPECT_EQ(after.passive, passive) << "the box's value is stored";
        EXPECT_EQ(config_.timout, 40000);
        EXPECT_EQ(std::tie(after.fexit, after.fdelete, after.fPickDefFormat, after.fShowTip, after.thumbSize,
                      after.thumbBorder, after.thumbname, after.thumbsize, after.thumbprice, after.thumbresolution),
            std::tie(before.fexit, before.fdelete, before.fPickDefFormat, before.fShowTip, before.thumbSize,
                before.thumbBorder, before.thumbname, before.thumbsize, before.thumbprice, before.thumbresolution));
        EXPECT_EQ(std::tie(after.useproxy, after.proxyHost, after.proxyPort, after.proxyLogin, after.proxyPass),
            std::tie(before.useproxy, before.proxyHost, before.proxyPort, before.proxyLogin, before.proxyPass));
        EXPECT_EQ(config_.thumbbitmapheight, 120);
        EXPECT_EQ(config_.proxy_ftp_type, ftpType);
    }
}

TEST_F(SettingsWindow, ResultTellsWhetherTheThumbnailsChanged)
{
    struct Case {
        const char* what;
        std::function<void(Tfsettings&)> act;
        int result;
    };
    const Case cases[] = {
        { "size bar", [](Tfsettings& w) { w.tbthumbsize->setValue(160); }, kThumbSettingsChanged },
        { "frame bar", [](Tfsettings& w) { w.tbthumbborder->setValue(2); }, kThumbSettingsChanged },
        { "caption box", [](Tfsettings& w) { w.cbtres->click(); }, kThumbSettingsChanged },
        { "Zaznaczona only", [](Tfsettings& w) { w.cbselected->click(); }, QDialog::Accepted },
        { "a flag only", [](Tfsettings& w) { w.cbfexit->click(); }, QDialog::Accepted },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Open([&] {
            c.act(window_);
            window_.bokClick();
        }),
            c.result);
    }
    EXPECT_EQ(config_.thumbbitmapwidth, 160);
    EXPECT_EQ(config_.thumbbitmapheight, 160);
    EXPECT_EQ(config_.thumbborder, 2);
    EXPECT_TRUE(config_.thumbresolution);
    EXPECT_FALSE(config_.fexit);
    // The cell sizes follow at once.
    EXPECT_EQ(config_.cellWidth, 164);

    // "Anuluj" keeps what the configuration had.
    EXPECT_EQ(Open([this] {
        window_.tbthumbsize->setValue(100);
        window_.cbfexit->click();
        Q_EMIT window_.bcancel->OnClick();
    }),
        QDialog::Rejected);
    EXPECT_EQ(config_.thumbbitmapwidth, 160);
    EXPECT_FALSE(config_.fexit);
}

// The default cell: picture 140, frame 5, name and price lines.
TEST_F(SettingsWindow, PreviewPaintsTheDefaultCellAsTheGridDoes)
{
    WriteTestSkin(app_.Path("program.vdskin"), 50);
    ASSERT_TRUE(skinner_.LoadFromFile(app_.Path("program.vdskin")));
    const auto color = [this](const char* name) { return skinner_.GetColor(QLatin1String(name)).rgb(); };
    QImage shown, selected;
    QRect cell;
    Open([&] {
        cell = window_.PreviewCell();
        shown = window_.thumbnailPreview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        window_.cbselected->click();
        selected = window_.thumbnailPreview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        window_.reject();
    });
    const int h
        = QFontMetrics(window_.thumbnailPreview->font()).size(Qt::TextSingleLine, QStringLiteral("^_")).height();
    EXPECT_EQ(cell, QRect(5, 5, 150, 152 + 2 * h));

    EXPECT_EQ(shown.pixel(2, 2), color("background"));
    EXPECT_EQ(shown.pixel(5, 5), color("bordertop")) << "the cell's 3-D frame";
    EXPECT_EQ(shown.pixel(154, cell.bottom()), color("borderbottom"));
    EXPECT_EQ(shown.pixel(7, 7), color("color"));
    EXPECT_EQ(selected.pixel(7, 7), color("selected"));
    EXPECT_EQ(shown.pixel(9, 9), color("bordertop")) << "the picture's frame";
    EXPECT_EQ(shown.pixel(150, 150), color("borderbottom"));
    // The rainbow fills the picture area: red at its left, cyan in its middle.
    const QColor left = shown.pixelColor(11, 80), middle = shown.pixelColor(80, 80);
    EXPECT_GT(left.red(), 200);
    EXPECT_LT(left.blue(), 60);
    EXPECT_LT(middle.red(), 60);
    EXPECT_GT(middle.green(), 150);
    EXPECT_GT(middle.blue(), 150);

    // The two lines as the grid writes them, centred under the picture in "text".
    QImage expected = shown.copy();
    {
        QPainter painter(&expected);
        painter.setFont(window_.thumbnailPreview->font());
        painter.setPen(skinner_.GetColor(QStringLiteral("text")));
        const QRect lines(7, 5 + 2 * 5 + 140, 146, 2 * h);
        painter.fillRect(lines, skinner_.GetColor(QStringLiteral("color")));
        const QString price = QStringLiteral("3 * %1 = %2").arg(FormatHundredths(690), FormatMoney(2070));
        EXPECT_EQ(price, QStringLiteral("3 * 6.90 = 20.70 zł").replace(u'.', QLocale().decimalPoint()));
        painter.drawText(QRect(7, 155, 146, h), Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("przyklad.jpg"));
        painter.drawText(QRect(7, 155 + h, 146, h), Qt::AlignCenter | Qt::TextSingleLine, price);
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(SettingsWindow, StoredTimeOutSelectsItsItemAndOkNeverStoresZero)
{
    const struct {
        int stored;
        const char* shown;
        int saved;
    } cases[] = {
        { 30000, "30 sekund", 30000 },
        { 10000, "10 sekund", 10000 },
        { 60000, "60 sekund", 60000 },
        { 0, "30 sekund", 30000 },
        { -5, "30 sekund", 30000 },
        { 25000, "30 sekund", 30000 },
        { 14999, "10 sekund", 10000 },
        { 70000, "60 sekund", 60000 },
        { 2147483647, "60 sekund", 60000 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        config_.timout = c.stored;
        QString shown;
        Open([&] {
            shown = window_.cbtimeout->currentText();
            window_.bokClick();
        });
        EXPECT_EQ(shown, QString::fromUtf8(c.shown));
        EXPECT_EQ(config_.timout, c.saved);
    }
}

TEST_F(SettingsWindow, OkRefusesAnUntestedOrIncompleteProxyInItsOrder)
{
    struct Case {
        const char* port; // typed over the stored one: the proxy is then untested
        bool typeHost;
        const char* warning;
    };
    const Case cases[] = {
        { nullptr, true, "Musisz przetestować ustawienia serwera proxy lub wyłączyć go !" },
        { "12ab", false, "Musisz przetestować ustawienia serwera proxy lub wyłączyć go !" },
        { nullptr, false, "Nieprawidłowy port serwera proxy !" }, // ticking the box alone needs no test
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        config_.useproxy = false;
        config_.proxy_host.clear();
        config_.proxy_port = QStringLiteral("abc");
        TDialogAnswers answers { { kButtonOk } };
        bool stayedOpen = false;
        Open([&] {
            EXPECT_FALSE(window_.eproxy_host->isEnabled());
            window_.cbuseproxy->click();
            EXPECT_TRUE(window_.eproxy_host->isEnabled() && window_.btestproxy->isEnabled());
            if (c.port) {
                window_.eproxy_port->clear();
                QTest::keyClicks(window_.eproxy_port, QString::fromUtf8(c.port));
            }
            if (c.typeHost)
                QTest::keyClicks(window_.eproxy_host, QStringLiteral("proxy"));
            window_.bokClick();
            stayedOpen = window_.isVisible();
            window_.reject();
        });
        EXPECT_TRUE(stayedOpen);
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QString::fromUtf8(c.warning));
        EXPECT_EQ(answers.Shown()[0].icon, diExclamation);
        EXPECT_FALSE(config_.useproxy);
    }
    // A whole port and no host: the last check.
    config_.proxy_port = QStringLiteral("8080");
    TDialogAnswers answers { { kButtonOk } };
    Open([this] {
        window_.cbuseproxy->click();
        window_.bokClick();
        window_.reject();
    });
    ASSERT_EQ(answers.Shown().size(), 1);
    EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Podaj adres serwera proxy lub wyłącz go !"));
}

// " 80" once passed the test and was then refused by OK: both read the fields one way.
TEST_F(SettingsWindow, AddressThatPassedTheTestWithSpacesAroundPassesOk)
{
    config_.useproxy = true;
    config_.proxy_host = QStringLiteral("old");
    config_.proxy_port = QStringLiteral("3128");
    TProxyTestInput given;
    window_.SetProxyTestLink([&](const TProxyTestInput& input, const TProxyTestListener&) {
        given = input;
        return TProxyTestResult { true, -1 };
    });
    TDialogAnswers answers { { kButtonOk } }; // taken only if OK refused
    const int result = Open([&] {
        window_.eproxy_host->clear();
        QTest::keyClicks(window_.eproxy_host, QStringLiteral(" proxy.lan "));
        window_.eproxy_port->clear();
        QTest::keyClicks(window_.eproxy_port, QStringLiteral(" 80"));
        window_.btestproxyClick();
        window_.bokClick();
        if (window_.isVisible())
            window_.reject();
    });
    EXPECT_TRUE(answers.Shown().isEmpty()) << answers.Shown().value(0).text.toStdString();
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(given.port, QStringLiteral(" 80")) << "the test reads the field itself";
    EXPECT_EQ(config_.proxy_host, QStringLiteral("proxy.lan"));
    EXPECT_EQ(config_.proxy_port, QStringLiteral("80"));
}

TEST_F(SettingsWindow, ProxyTestRunsWithTheWindowDisabledAndStoresTheFtpMode)
{
    config_.useproxy = true;
    config_.proxy_host = QStringLiteral("old");
    config_.proxy_port = QStringLiteral("3128");
    config_.proxy_ftp_type = 3;
    int runs = 0;
    TProxyTestInput given;
    window_.SetProxyTestLink([&](const TProxyTestInput& input, const TProxyTestListener& listener) {
        ++runs;
        given = input;
        EXPECT_FALSE(window_.isEnabled());
        window_.btestproxyClick(); // a second test cannot start inside the first
        window_.reject(); // nor can the window close
        EXPECT_TRUE(window_.isVisible());
        listener.httpLine(QStringLiteral("Połączenie powiodło się (www) !"));
        listener.ftpLine(QStringLiteral("Połączenie FTP poprzez proxy wygląda OK !"));
        return TProxyTestResult { true, 0 };
    });
    TDialogAnswers answers;
    const int result = Open([&] {
        window_.eproxy_host->clear();
        QTest::keyClicks(window_.eproxy_host, QStringLiteral("proxy.lan"));
        QTest::keyClicks(window_.eproxy_login, QStringLiteral("jan"));
        window_.eproxy_pass->setText(QStringLiteral("zażółć"));
        EXPECT_FALSE(window_.ProxyTested());
        window_.btestproxyClick();
        EXPECT_TRUE(window_.isEnabled());
        EXPECT_TRUE(window_.ProxyTested());
        EXPECT_EQ(window_.lproxy_ftp->text(), QStringLiteral("Połączenie FTP poprzez proxy wygląda OK !"));
        window_.bokClick();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(given.host, QStringLiteral("proxy.lan"));
    EXPECT_EQ(given.port, QStringLiteral("3128"));
    EXPECT_EQ(given.password, QStringLiteral("zażółć"));
    EXPECT_EQ(config_.proxy_ftp_type, 0);
    EXPECT_TRUE(answers.Shown().isEmpty());

    // The credentials reach config.ini enciphered, in a file only its owner reads.
    const QString saved = SavedConfig();
    EXPECT_FALSE(saved.contains(QStringLiteral("jan")));
    EXPECT_FALSE(saved.contains(QStringLiteral("proxy_pass=za")));
    EXPECT_EQ(FileModeBits(TConfig::FileName()), 0600);
    TConfig reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.proxy_login, QStringLiteral("jan"));
    EXPECT_EQ(reloaded.proxy_pass, QStringLiteral("zażółć"));
    EXPECT_EQ(reloaded.proxy_host, QStringLiteral("proxy.lan"));

    // A test's mode stays even when the window is cancelled; its lines are gone at the next showing.
    window_.SetProxyTestLink([](const TProxyTestInput&, const TProxyTestListener&) {
        return TProxyTestResult { true, 2 };
    });
    Open([this] {
        EXPECT_TRUE(window_.lproxy_ftp->text().isEmpty());
        window_.btestproxyClick();
        window_.reject();
    });
    EXPECT_EQ(config_.proxy_ftp_type, 2);
}

TEST_F(SettingsWindow, SkinListPreviewAndChoice)
{
    TDialogAnswers answers { { kButtonOk } /* Wybierz skórkę */, { kButtonNo }, { kButtonOk }, { kButtonOk } };
    QStringList listed;
    QColor sample, broken;
    QString status;
    Open([&] {
        for (int i = 0; i < window_.lbskin->count(); ++i)
            listed << window_.lbskin->item(i)->text();
        EXPECT_EQ(window_.sampleWindow->Color(), QColor(1, 11, 21)) << "the selected skin's sample";
        EXPECT_NE(window_.generalPage->Color(), QColor(1, 11, 21)) << "the window keeps the program's colours";
        window_.useSkinButtonClick(); // nothing selected
        const auto select = [this](const QString& name) {
            QListWidgetItem* item = window_.lbskin->findItems(name, Qt::MatchExactly).value(0);
            window_.lbskin->setCurrentItem(item);
            window_.lbskinClick();
        };
        select(QStringLiteral("Morska Bryza"));
        sample = window_.sampleWindow->Color();
        window_.useSkinButtonClick(); // "NIE": nothing written
        EXPECT_EQ(TConfig::SelectedSkinName(), QStringLiteral("grafit"));
        window_.useSkinButtonClick(); // "OK"
        status = window_.slcurskin->Status();
        window_.reject();
    });
    listed.sort();
    EXPECT_EQ(listed, QStringList({ "Grafit", "Morska Bryza", "Uszkodzona" }));
    EXPECT_EQ(sample, QColor(101, 111, 121));
    EXPECT_EQ(status, QStringLiteral("Morska Bryza"));
    EXPECT_EQ(TIniFile(app_.Path("config/skin.ini")).ReadString("skin", "selected", ""), "Morska Bryza");
    EXPECT_EQ(TConfig::SelectedSkinFile(), app_.Path("skins/morska bryza.vdskin")) << "found whatever its letters";
    ASSERT_EQ(answers.Shown().size(), 4);
    EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Wybierz skórkę !"));
    EXPECT_EQ(answers.Shown()[1].text, QStringLiteral("Chcesz użyć wybranej skórki ?"));
    EXPECT_EQ(answers.Shown()[1].icon, diQuestion);
    EXPECT_EQ(
        answers.Shown()[3].text, QStringLiteral("Nowa skórka zostanie użyta przy następnym uruchomieniu programu ..."));
    EXPECT_EQ(window_.PreviewSkin(), nullptr) << "freed when the window closed";
}

TEST_F(SettingsWindow, BrokenOrMissingSkinsAreReported)
{
    // A damaged skin clicked in the list: the sample falls back to the default colours.
    TDialogAnswers damaged { { kButtonOk } };
    QColor sample;
    Open([&] {
        window_.lbskin->setCurrentItem(window_.lbskin->findItems("Uszkodzona", Qt::MatchExactly).value(0));
        window_.lbskinClick();
        sample = window_.sampleWindow->Color();
        window_.reject();
    });
    ASSERT_EQ(damaged.Shown().size(), 1);
    EXPECT_EQ(damaged.Shown()[0].text, QStringLiteral("Skórka uszkodzona !"));
    EXPECT_EQ(damaged.Shown()[0].icon, diError);
    EXPECT_EQ(sample, TSkinner().GetColor(QStringLiteral("background")));

    // The selected skin's file is gone: every showing says so, the status still names it.
    TConfig::SetSelectedSkinName(QStringLiteral("zaginiona"));
    TDialogAnswers missing { { kButtonOk }, { kButtonOk } };
    for (int i = 0; i < 2; ++i)
        Open([this] {
            EXPECT_EQ(window_.slcurskin->Status(), QStringLiteral("zaginiona"));
            window_.reject();
        });
    EXPECT_EQ(missing.Shown().size(), 2);
}

TEST_F(SettingsWindow, KeyboardAlone)
{
    const TKeyboardVisit visit = VisitByKeyboard(&window_, [&] { window_.exec(); }, { Qt::Key_Escape });
    EXPECT_EQ(visit.focused, "bgeneral");
    EXPECT_EQ(visit.tabs,
        (QStringList { "GradientButton4", "GradientButton6", "cbfexit", "cbfdelete", "cbfpickdefformat", "cbshowtips",
            "tbthumbsize", "tbthumbborder", "cbtname", "cbtsize", "cbtprice", "cbtres", "cbselected", "bok",
            "bcancel" }));
    EXPECT_TRUE(visit.closed) << "Escape: \"Anuluj\"";

    // The skin page from its button; the list takes the keys, Enter uses the chosen skin and
    // leaves the window open; the sample's controls are no Tab stops.
    TDialogAnswers answers { { kButtonOk }, { kButtonOk }, { kButtonOk }, { kButtonOk }, { kButtonOk } };
    QString onSkinPage, chosen;
    QStringList skinTabs;
    bool stayed = false;
    OnNextModal([&](QWidget*) {
        PressKey(&window_, Qt::Key_Tab); // "skórka"
        PressKey(&window_, Qt::Key_Space);
        onSkinPage = window_.focusWidget()->objectName();
        skinTabs = TabWalk(&window_);
        PressKey(&window_, Qt::Key_Home);
        for (int i = 0; i < 3 && window_.lbskin->currentItem()->text() != QStringLiteral("Morska Bryza"); ++i)
            PressKey(&window_, Qt::Key_Down);
        chosen = window_.lbskin->currentItem()->text();
        PressKey(&window_, Qt::Key_Return);
        stayed = window_.isVisible();
        window_.reject();
    });
    window_.exec();
    EXPECT_EQ(onSkinPage, "lbskin");
    EXPECT_EQ(skinTabs,
        (QStringList { "GradientButton5", "bok", "bcancel", "bgeneral", "GradientButton4", "GradientButton6" }));
    EXPECT_EQ(chosen, QStringLiteral("Morska Bryza"));
    EXPECT_TRUE(stayed) << "Enter on the list is no \"OK\"";
    EXPECT_EQ(TConfig::SelectedSkinName(), QStringLiteral("Morska Bryza"));
}

} // namespace
