// The send-order window: opening, the first tick (login, shop list), the shop's options and
// prices, the checks of both pages, the customer-data file, and "ZAMAWIAM" with the whole
// order sent to the demo lab's FTP server.
#include "order/usendorder.h"

#include "core/log.h"
#include "order/customerdata.h"
#include "order/history.h"
#include "order/ordercheck.h"
#include "order/ulogin.h"
#include "platform/cp1250.h"
#include "tests/project/projectfixture.h"
#include "tests/support/demolab.h"
#include "tests/support/ftpserver.h"
#include "tests/support/testsupport.h"
#include "tests/support/urlcatcher.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/nicecheckbox.h"
#include "ui/umydialog.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QShowEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The signature the post-order page gets: the MD5 of the lab's key and the order ID, in hex.
QString Signature(const QString& id)
{
    return QString::fromLatin1(QCryptographicHash::hash(("klucz" + id).toLatin1(), QCryptographicHash::Md5).toHex());
}

// An amount as the window shows it: "2.90 zł" with the user's decimal point.
QString Money(const char* amount)
{
    return QString::fromUtf8(amount).replace(u'.', QLocale().decimalPoint()) + QStringLiteral(" zł");
}

class SendOrderTest : public testing::Test {
protected:
    void SetUp() override
    {
        LogStore().Clear();
        ASSERT_TRUE(f.project->AddPhoto(f.WritePhoto("a.jpg", 60, 40)));
        ASSERT_TRUE(f.project->AddPhoto(f.WritePhoto("b.jpg", 60, 40)));
        f.project->Photo(1).quantity = 2;
        f.project->SetFormat(0, kFormat10x15);
        f.project->SetFormat(1, kFormat13x18);
        TEngine& engine = f.engine;
        engine.name = "Lab Foto";
        engine.city = "00-950 Warszawa";
        engine.personal = engine.paycash = engine.paytransfer = engine.paycard = engine.vat = true;
        engine.shopsProtocol = "file";
        engine.shopsSource = "shops.txt";
        ASSERT_TRUE(WriteFileBytes(app.Path("config/shops.txt"),
            ToCp1250(QStringLiteral("12|Punkt A|30-001 Kraków|ul. Krótka 1|a@example.pl|12 111||1|1|0|0|0\r\n"
                                    "15|Punkt B|80-001 Gdańsk|ul. Morska 2|b@example.pl|58 222||0|1|1|1\r\n"))));
        window.SetLinks({ [this] {
                             ++logins;
                             return login ? login() : std::nullopt;
                         },
            [this] { ++forgotten; },
            [this](int preselect) {
                preselects << preselect;
                return pickedShop;
            },
            [this] { ++newProjects; } });
        for (QLineEdit* edit :
            { window.ename, window.estreet, window.ecity, window.ephone, window.eemail, window.ecompany, window.enip })
            edit->clear();
        window.cbsave->SetChecked(false);
    }

    // Opens the window, lets its first tick run, runs inside while the window is still open,
    // then closes it. Whether the window was still open after the first tick.
    bool Run(const std::function<void()>& inside = {})
    {
        bool open = false;
        OnNextModal([&](QWidget*) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Timer1->isActive(); }));
            open = window.isVisible();
            if (open && inside)
                inside();
            if (window.isVisible())
                window.reject();
        });
        window.exec();
        return open;
    }

    void FillCustomerPage()
    {
        window.ename->setText("Jan Kowalski");
        window.ecity->setText("00-950 Warszawa");
        window.estreet->setText("ul. Długa 1");
        window.ephone->setText("600100200");
        window.eemail->setText("jan@example.pl");
    }

    ScopedAppDir app;
    TProjectFixture f;
    Tfsendorder& window = fsendorder();
    std::function<std::optional<TLogin>()> login;
    int logins = 0;
    int forgotten = 0;
    QList<int> preselects;
    int pickedShop = 0;
    int newProjects = 0;
};

// The order run against the demo lab's FTP server: the package is made in a scratch temporary
// folder, its history entry in the program folder.
class SendOrderRunTest : public SendOrderTest {
protected:
    void SetUp() override
    {
        SendOrderTest::SetUp();
        ASSERT_TRUE(server.Started());
        TEngine& engine = f.engine;
        server.PointEngineAt(engine);
        engine.orderid = "%data8%";
        engine.authkey = "klucz";
        engine.postorderpage = "http://lab.example/zlecenie";
        f.config.timout = 5000;
    }
    void TearDown() override { SetDontSend(false); }

    // Fills the pages, chooses card payment with personal pickup and presses "ZAMAWIAM" with
    // the answers given; the texts shown and whether the window was open afterwards.
    QStringList Order(std::initializer_list<TDialogAnswer> replies, bool* openAfter = nullptr)
    {
        QStringList shown;
        Run([&] {
            FillCustomerPage();
            chooseOptions();
            window.ShowPage(3);
            TDialogAnswers answers(replies);
            answers.SetObserver([this](Tfdialog&) { statusAtDialogs << window.lstat->text(); });
            window.bsend->click();
            statusAfter = window.lstat->text();
            for (const TShownDialog& dialog : answers.Shown())
                shown << dialog.text;
            if (openAfter)
                *openAfter = window.isVisible() && window.isEnabled();
        });
        return shown;
    }
    // The one history entry the order left.
    THistory Entry() const
    {
        THistory entry;
        const QStringList entries = QDir(app.Path("history")).entryList({ "*_hist.dat" });
        EXPECT_EQ(entries.size(), 1);
        if (!entries.isEmpty()) {
            EXPECT_TRUE(entry.LoadEntry(app.Path("history/" + entries.front())));
        }
        return entry;
    }
    QStringList OnServer() const { return QDir(server.Orders()).entryList(QDir::Files, QDir::Name); }
    bool OrderFilesLeft() const
    {
        return !QDir(app.Path("orders")).entryList({ "VDOTMP.*" }, QDir::AllEntries).isEmpty()
            || !QDir(temp.path()).entryList({ "VDOTMP.*" }, QDir::AllEntries).isEmpty();
    }

    // Run on page 2 before the order: the shop and its options. Card payment with personal
    // pickup from the lab itself unless a test says otherwise.
    std::function<void()> chooseOptions = [this] {
        window.cbpaycard->SetChecked(true);
        window.cbpersonal->SetChecked(true);
    };
    // "Obecna czynność" as each dialog of the order came up, and once the order was over.
    QStringList statusAtDialogs;
    QString statusAfter;
    TFtpServer server;
    QTemporaryDir temp;
    ScopedEnv tmpdir { "TMPDIR", temp.path() };
    TUrlCatcher pages;
};

const QString kReadyToSend = QStringLiteral("Wybierz \"ZAMAWIAM\" aby wysłać zlecenie.");
const QString kOrderQuestion = QStringLiteral(
    "Zostanie przygotowane i wysłane zamówienie, proces ten może zająć nawet kilkadziesiąt minut w zależności od "
    "wielkości zamówienia, szybkości internetu itp. Procesu NIE MOŻNA PRZERWAĆ ! Wysłać zamówienie teraz ?");

TEST_F(SendOrderTest, OpensOnTheCustomerPageWithTheFirstShopChosen)
{
    QString shop;
    int tag = 0;
    bool page1 = false, page2 = true, page3 = true, vatShown = false, errorShown = true;
    QString quantity, status, timeLeft, price;
    ASSERT_TRUE(Run([&] {
        shop = window.eshop->text();
        tag = window.shopTag;
        page1 = window.mpuser->isVisible();
        page2 = window.mporder->isVisibleTo(&window);
        page3 = window.mpsend->isVisibleTo(&window);
        vatShown = !window.cbvat->isHidden();
        errorShown = !window.lerror->isHidden();
        quantity = window.lquantity->text();
        status = window.lstat->text();
        timeLeft = window.ltimeleft->text();
        price = window.lprice->text();
    }));
    EXPECT_EQ(logins, 0) << "no login script";
    EXPECT_EQ(forgotten, 1) << "the order goes with an empty login";
    EXPECT_EQ(shop, "Lab Foto");
    EXPECT_EQ(tag, -1);
    EXPECT_TRUE(vatShown);
    EXPECT_TRUE(page1);
    EXPECT_FALSE(page2);
    EXPECT_FALSE(page3);
    EXPECT_FALSE(errorShown);
    EXPECT_EQ(quantity, "3");
    EXPECT_EQ(status, QStringLiteral("Wybierz \"ZAMAWIAM\" aby wysłać zlecenie."));
    EXPECT_EQ(timeLeft, "nieznany");
    EXPECT_EQ(price, Money("2.90")) << "1 x 0.50 + 2 x 1.20";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Wysyłanie zlecenia"));
    EXPECT_EQ(window.size(), QSize(602, 310));
}

TEST_F(SendOrderTest, ShopListThatCannotBeHadClosesTheWindow)
{
    const struct {
        const char* protocol;
        QString source;
        bool noshop;
        const char16_t* error;
    } cases[] = {
        { "http", QStringLiteral("127.0.0.1:%1/shops.txt").arg(FreeLoopbackPort()), false,
            u"Nie można pobrać listy sklepów !" },
        { "", "", true, u"Nie można załadować listy sklepów !" }, // no shop file, no lab shop
    };
    for (const auto& c : cases) {
        f.engine.shopsProtocol = c.protocol;
        f.engine.shopsSource = c.source;
        f.engine.noshop = c.noshop;
        QFile::remove(app.Path("shopsTMP.txt"));
        TDialogAnswers answers { { kButtonOk } };
        EXPECT_FALSE(Run());
        ASSERT_EQ(answers.Shown().size(), 1);
        EXPECT_EQ(answers.Shown()[0].text, QString::fromUtf16(c.error));
        EXPECT_EQ(answers.Shown()[0].icon, diError);
    }
}

TEST_F(SendOrderTest, CustomerPageChecksTrimmedFields)
{
    QStringList warnings;
    bool page2 = false;
    Run([&] {
        FillCustomerPage();
        const struct {
            QLineEdit* edit;
            const char* text;
        } steps[] = {
            { window.ename, "  Jan   " }, // 3 characters once trimmed
            { window.ename, "Jan K" }, { window.ecity, "00-950 Wa" }, // 9 characters
        };
        for (const auto& step : steps) {
            TDialogAnswers answers { { kButtonOk } };
            step.edit->setText(QString::fromUtf8(step.text));
            if (step.edit == window.ecity)
                window.ename->setText("Jan K");
            window.customerNextButton->click();
            for (const TShownDialog& shown : answers.Shown())
                warnings << shown.text;
            if (answers.Remaining() == 1)
                warnings << "passed";
            EXPECT_TRUE(window.mpuser->isVisible() || answers.Remaining() == 1);
            window.ShowPage(1);
        }
        EXPECT_EQ(window.ename->text(), "Jan K");
        window.ecity->setText(" 00-950 Wwa ");
        window.customerNextButton->click();
        page2 = window.mporder->isVisible();
    });
    EXPECT_EQ(warnings,
        (QStringList {
            QStringLiteral("Podaj imię i nazwisko !"), "passed", QStringLiteral("Podaj kod pocztowy i miasto !") }));
    EXPECT_TRUE(page2);
    EXPECT_EQ(window.ecity->text(), "00-950 Wwa");
}

TEST_F(SendOrderTest, ShopOptionsPaymentAndDetailsPage)
{
    Run([&] {
        FillCustomerPage();
        window.customerNextButton->click();
        ASSERT_TRUE(window.mporder->isVisible());
        {
            TDialogAnswers answers { { kButtonOk } };
            window.orderNextButton->click();
            ASSERT_EQ(answers.Shown().size(), 1);
            EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Wybierz formę płatności !"));
        }
        pickedShop = 12; // pickup and cash only
        window.shopPickButton->click();
        EXPECT_EQ(window.eshop->text(), QStringLiteral("30-001 Kraków - Punkt A"));
        EXPECT_EQ(window.shopTag, 12);
        EXPECT_TRUE(window.cbpaycash->isVisible());
        EXPECT_FALSE(window.cbpaytransfer->isVisible());
        EXPECT_FALSE(window.cbpaycard->isVisible());
        EXPECT_FALSE(window.cbvat->isVisible());
        EXPECT_TRUE(window.cbpersonal->isVisible());

        pickedShop = 15;
        window.shopPickButton->click();
        window.cbpaycash->click();
        window.cbpaycard->click(); // one payment at a time
        EXPECT_FALSE(window.cbpaycash->Checked());
        EXPECT_TRUE(window.cbpaycard->Checked());
        window.cbvat->click();
        window.cbpersonal->click();

        pickedShop = 0; // the shop window cancelled: nothing changes
        window.shopPickButton->click();
        EXPECT_EQ(window.shopTag, 15);
        EXPECT_TRUE(window.cbpaycard->Checked());

        pickedShop = 12; // switching shops unchecks every option
        window.shopPickButton->click();
        for (TNiceCheckBox* box :
            { window.cbpaycash, window.cbpaytransfer, window.cbpaycard, window.cbpersonal, window.cbvat })
            EXPECT_FALSE(box->Checked()) << box->objectName().toStdString();

        pickedShop = 15;
        window.shopPickButton->click();
        window.cbpaytransfer->click();
        window.cbvat->click();
        window.enip->setText("123-456-78-90");
        {
            TDialogAnswers answers { { kButtonOk } };
            window.orderNextButton->click(); // VAT without a company name
            ASSERT_EQ(answers.Shown().size(), 1);
            EXPECT_EQ(answers.Shown()[0].text, QStringLiteral("Podaj nip/nazwę firmy aby otrzymać fakturę VAT !"));
            EXPECT_TRUE(window.mpuser->isVisible());
            EXPECT_FALSE(window.mporder->isVisible());
        }
        window.ecompany->setText("Firma");
        window.customerNextButton->click();
        window.orderNextButton->click();
        EXPECT_TRUE(window.mpsend->isVisible());
        window.sendBackButton->click();
        EXPECT_TRUE(window.mporder->isVisible());
        window.orderBackButton->click();
        EXPECT_TRUE(window.mpuser->isVisible());
    });
    EXPECT_EQ(preselects, (QList<int> { -1, 12, 15, 15, 12 })) << "the current shop preselected";
}

TEST_F(SendOrderTest, PricesFollowDeliveryAndShowTheOpeningCharge)
{
    // Prints worth 2.90, under the minimum of 1000.00: the opening charge of 5.00 is added, and
    // the delivery by post costs 10.00 paid in cash or 12.00 paid in advance.
    f.engine.delivery_price = 1000;
    f.engine.delivery_pricepre = 1200;
    f.engine.open_price = 500;
    f.engine.min_price = 100000;
    Run([&] {
        EXPECT_EQ(window.lpricetotal->text(), Money("19.90")) << "by post, paid in advance";
        EXPECT_FALSE(window.lminprice->isHidden());
        window.cbpersonal->click();
        EXPECT_EQ(window.lpricetotal->text(), Money("7.90")) << "picked up";
        window.cbpaycash->click();
        EXPECT_EQ(window.lpricetotal->text(), Money("7.90")) << "picked up, cash";
        window.cbpersonal->click();
        EXPECT_EQ(window.lpricetotal->text(), Money("17.90")) << "by post, cash on delivery";
        f.engine.min_price = 0;
        window.cbpersonal->click();
        EXPECT_EQ(window.lpricetotal->text(), Money("2.90"));
        EXPECT_TRUE(window.lminprice->isHidden());
    });
}

TEST_F(SendOrderTest, CustomerDataFileBothFormsAndABadHeader)
{
    const auto writeItems = [&](const QStringList& items) {
        QFile file(app.Path("mydata.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QString& item : items) {
            const QByteArray bytes = item.toUtf8();
            const qint32 length = qint32(bytes.size());
            file.write(reinterpret_cast<const char*>(&length), 4);
            file.write(bytes);
        }
    };
    writeItems({ "VD: saved my data v2", "Anna Nowak", "00-001 Warszawa", "ul. Polna 1", "600700800", "a@n.pl",
        "111-222", "Firma A" });
    Run([&] {
        EXPECT_EQ(window.ename->text(), "Anna Nowak");
        EXPECT_EQ(window.ecity->text(), "00-001 Warszawa");
        EXPECT_EQ(window.enip->text(), "111-222");
        EXPECT_EQ(window.ecompany->text(), "Firma A");
        EXPECT_TRUE(window.cbsave->Checked());
    });
    writeItems({ "VD: saved my data", "Ewa Nowak", "00-002 Warszawa", "ul. Polna 2", "600700801", "e@n.pl" });
    Run([&] {
        EXPECT_EQ(window.ename->text(), "Ewa Nowak");
        EXPECT_EQ(window.eemail->text(), "e@n.pl");
        EXPECT_EQ(window.enip->text(), "111-222") << "the older form has no VAT data";
    });
    writeItems({ "VD: something else", "Zenon" });
    window.cbsave->SetChecked(false);
    Run([&] {
        EXPECT_EQ(window.ename->text(), "Ewa Nowak");
        EXPECT_FALSE(window.cbsave->Checked());
    });
    EXPECT_TRUE(LogHasLine(QStringLiteral("mydata.dat has invalid format or is incompatible !"), 2));
}

TEST_F(SendOrderTest, OrderButtonAsksThenKeepsOrForgetsTheDataAndReturns)
{
    Run([&] {
        FillCustomerPage();
        window.ecompany->setText(QStringLiteral("Spółka"));
        window.cbsave->SetChecked(true);
        window.ShowPage(3);
        {
            TDialogAnswers answers { { kButtonNo } };
            window.bsend->click();
            ASSERT_EQ(answers.Shown().size(), 1);
            EXPECT_TRUE(
                answers.Shown()[0].text.startsWith(QStringLiteral("Zostanie przygotowane i wysłane zamówienie")));
            EXPECT_EQ(answers.Shown()[0].icon, diQuestion);
            EXPECT_FALSE(QFile::exists(app.Path("mydata.dat"))) << "declined: nothing happens";
            EXPECT_TRUE(window.mpsend->isVisible());
        }
        {
            // The lab names no order-ID rule: the order stops at its first step.
            TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
            window.bsend->click();
            ASSERT_EQ(answers.Shown().size(), 2);
            EXPECT_EQ(answers.Shown()[1].text, QStringLiteral("Błąd komunikacji z serwerem !"));
            const std::optional<TCustomerData> saved = ReadCustomerData();
            ASSERT_TRUE(saved);
            EXPECT_EQ(saved->name, "Jan Kowalski");
            EXPECT_EQ(saved->company, QStringLiteral("Spółka"));
            EXPECT_TRUE(LogHasLine(QStringLiteral("Saving my data ..."), 0));
            // Back to the normal state: enabled, the customer page, the order buttons.
            EXPECT_TRUE(window.isEnabled());
            EXPECT_TRUE(window.mpuser->isVisible());
            EXPECT_FALSE(window.mpsend->isVisible());
            EXPECT_FALSE(window.bsend->isHidden());
            EXPECT_EQ(window.lstat->text(), kReadyToSend) << "no step runs any more";
        }
        window.cbsave->SetChecked(false);
        {
            TDialogAnswers answers { { kButtonOk }, { kButtonOk } };
            window.bsend->click();
        }
        EXPECT_FALSE(QFile::exists(app.Path("mydata.dat"))) << "unchecked: the file goes";
    });
}

TEST_F(SendOrderTest, SendingStateAndPreview)
{
    Run([&] {
        window.SetSending(true);
        EXPECT_FALSE(window.isEnabled());
        EXPECT_TRUE(window.mpsend->isVisible());
        EXPECT_FALSE(window.mpuser->isVisible());
        EXPECT_TRUE(window.bsend->isHidden());
        EXPECT_TRUE(window.sendBackButton->isHidden());
        window.close(); // the close box during an order
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible()) << "an order runs to its end";
        QImage photo(300, 100, QImage::Format_RGB32);
        photo.fill(Qt::red);
        window.ShowPreview(photo);
        EXPECT_EQ(window.iprev->Picture().size(), window.iprev->size());
        window.SetSending(false);
        EXPECT_TRUE(window.isEnabled());
    });
}

TEST_F(SendOrderTest, LoginReplacesTheSavedDataAndCancellingCloses)
{
    QTemporaryDir server;
    const QJsonObject accounts { { "jan",
        QJsonObject { { "password", "demo" }, { "name", "Jan Nowak" }, { "city", "30-001 Kraków" },
            { "street", "ul. Nowa 3" }, { "phone", "700800900" }, { "email", "jan@nowak.pl" }, { "nip", "9" },
            { "company", "Nowak sp." } } } };
    ASSERT_TRUE(WriteFileBytes(server.filePath("accounts.json"), QJsonDocument(accounts).toJson()));
    TDemoLab lab(server.path(), { "--no-ftp", "--user", "lab", "--password", "labpass" });
    ASSERT_TRUE(lab.Started());
    f.engine.user = "lab";
    f.engine.pass = "labpass";
    f.engine.loginscript = lab.Url("/login");
    ASSERT_TRUE(WriteCustomerData({ "Anna Stara", "00-001 Warszawa", "ul. Stara 1", "600", "a@s.pl", "1", "Stara" }));

    login = [] {
        OnNextModal([](QWidget*) {
            flogin().elogin->setText("jan");
            flogin().epass->setText("demo");
            flogin().GradientButton1Click();
        });
        return flogin().Login();
    };
    QStringList fields;
    ASSERT_TRUE(Run([&] {
        for (QLineEdit* edit :
            { window.ename, window.ecity, window.estreet, window.ephone, window.eemail, window.enip, window.ecompany })
            fields << edit->text();
    }));
    EXPECT_EQ(fields,
        (QStringList { "Jan Nowak", QStringLiteral("30-001 Kraków"), "ul. Nowa 3", "700800900", "jan@nowak.pl", "9",
            "Nowak sp." }));
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(forgotten, 0);

    login = [] { return std::nullopt; };
    EXPECT_FALSE(Run()) << "no login, no order";
    EXPECT_EQ(logins, 2);
}

TEST_F(SendOrderRunTest, SentOrderArrivesWholeAndIsRecorded)
{
    const QStringList shown = Order({ { kButtonOk }, { kButtonOk } });
    EXPECT_EQ(shown,
        (QStringList { kOrderQuestion,
            QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?") }));
    const THistory entry = Entry();
    const QString id = entry.GetValue("oid");
    ASSERT_EQ(id.size(), 8);
    EXPECT_EQ(id, id.toUpper());
    EXPECT_EQ(entry.GetValue("ordersend"), "1");
    EXPECT_EQ(entry.GetValue("payby"), "3");
    EXPECT_EQ(entry.GetValue("deliverypost"), "0");
    EXPECT_EQ(entry.GetValue("login"), "");
    const QString remote = id.toLower();
    EXPECT_EQ(OnServer(), (QStringList { remote + "_00001.jpg", remote + "_00002.jpg", remote + "_metadata.txt" }));
    const TOrderVerdict verdict = CheckOrder(server.Orders(), id);
    EXPECT_TRUE(verdict.ok) << verdict.text.toStdString();
    ASSERT_EQ(pages.urls.size(), 1);
    EXPECT_EQ(pages.urls[0], QUrl("http://lab.example/zlecenie?id=" + id + "&sign=" + Signature(id)));
    EXPECT_EQ(newProjects, 1);
    EXPECT_FALSE(OrderFilesLeft());
    EXPECT_TRUE(LogHasLine("FTP ready."));
    EXPECT_EQ(statusAtDialogs, (QStringList { kReadyToSend, QStringLiteral("Zlecenie zostało wysłane.") }));
}

// What the customer typed and the shop chosen reach the lab's metadata file (in Windows-1250)
// and the history entry, line for line.
TEST_F(SendOrderRunTest, TypedCustomerAndChosenShopReachTheMetadataAndTheHistory)
{
    pickedShop = 12; // Punkt A: pickup and cash only
    QString shopShown;
    chooseOptions = [&] {
        window.shopPickButton->click();
        shopShown = window.eshop->text();
        window.cbpaycash->SetChecked(true);
        window.cbpersonal->SetChecked(true);
    };
    Order({ { kButtonOk }, { kButtonOk } });
    EXPECT_EQ(shopShown, QStringLiteral("30-001 Kraków - Punkt A"));
    const THistory entry = Entry();
    const QString id = entry.GetValue("oid");
    ASSERT_EQ(id.size(), 8);
    const QStringList expected { "truecount=3", "name=Jan Kowalski", QStringLiteral("street=ul. Długa 1"),
        "city=00-950 Warszawa", "phone=600100200", "email=jan@example.pl", "login=", "shopid=12", "shopname=Punkt A",
        QStringLiteral("shopcity=30-001 Kraków"), QStringLiteral("shopstreet=ul. Krótka 1"), "shopphone=12 111",
        "shopemail=a@example.pl", "shopbank=", "payby=1", "deliverypost=0", "pack=0", "vat=0", "count=2",
        "mtmatrix=filename|quantity|formatid|price", "mtdata=" + id + "_00001.jpg|1|1|50",
        "mtdata=" + id + "_00002.jpg|2|2|120", "rdmatrix=srcfilename|quantity|formatname|price",
        "rddata=a.jpg|1|10x15|50", "rddata=b.jpg|2|13x18|120" };

    const QByteArray metadata = ReadFileBytes(server.Orders(id.toLower() + "_metadata.txt"));
    EXPECT_TRUE(metadata.contains("\r\nstreet=ul. D\xb3uga 1\r\n")) << "Windows-1250";
    EXPECT_TRUE(metadata.contains("\r\nshopcity=30-001 Krak\xf3w\r\n"));
    EXPECT_TRUE(metadata.endsWith("rddata=b.jpg|2|13x18|120\r\n"));
    const QStringList lines = FromCp1250(metadata).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 40);
    EXPECT_EQ(lines.mid(15), expected);
    EXPECT_EQ(lines[10], "price=290") << "prints only: picked up, no minimum";

    EXPECT_EQ(entry.lines, lines + QStringList { "ordersend=1" });
    EXPECT_TRUE(server.Lab().Output().contains(
        "ORDER " + id + QStringLiteral(": 3 odbitek, 290 gr, Jan Kowalski, odbiór: Punkt A")));
}

// Without a browser the post-order page (where a lab may take payment) cannot open: its
// address is shown to copy and logged, and the order is still reported as sent.
TEST_F(SendOrderRunTest, PostOrderPageThatCannotOpenLeavesTheOrderSent)
{
    f.engine.postorderpage = "lab.example/zlecenie"; // written without a scheme
    const TUrlRefuser noBrowser;
    const QStringList shown = Order({ { kButtonOk }, { kButtonOk }, { kButtonOk } });
    EXPECT_EQ(shown,
        (QStringList { kOrderQuestion,
            QStringLiteral("Nie udało się otworzyć strony w przeglądarce internetowej.\rSkopiuj jej adres i otwórz go "
                           "samodzielnie:"),
            QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?") }));
    const THistory entry = Entry();
    const QString id = entry.GetValue("oid");
    EXPECT_EQ(entry.GetValue("ordersend"), "1");
    EXPECT_TRUE(LogHasLine("Could not open the link http://lab.example/zlecenie?id=" + id + "&sign=" + Signature(id)
            + ": no program to open it",
        3));
    EXPECT_TRUE(pages.urls.isEmpty());
    EXPECT_EQ(newProjects, 1);
    EXPECT_FALSE(OrderFilesLeft());
}

TEST_F(SendOrderRunTest, DontSendFlagPacksAndRecordsButSendsNothing)
{
    f.engine.pack = true;
    SetDontSend(true);
    bool open = false;
    const QStringList shown = Order({ { kButtonOk }, { kButtonOk } }, &open);
    EXPECT_EQ(shown, (QStringList { kOrderQuestion, "Dontsend flag detected, press ok to clean up and close..." }));
    EXPECT_TRUE(open) << "the window stays for another try";
    EXPECT_TRUE(OnServer().isEmpty());
    const THistory entry = Entry();
    EXPECT_EQ(entry.GetValue("pack"), "1");
    EXPECT_EQ(entry.GetValue("ordersend"), "");
    EXPECT_FALSE(OrderFilesLeft());
    EXPECT_TRUE(pages.urls.isEmpty());
    EXPECT_EQ(
        statusAtDialogs, (QStringList { kReadyToSend, QStringLiteral("Zlecenie przygotowane, nie zostało wysłane.") }));
    EXPECT_EQ(statusAfter, kReadyToSend);
}

TEST_F(SendOrderRunTest, UnreachableServerLeavesTheWindowReadyAgain)
{
    f.engine.host = QStringLiteral("127.0.0.1:%1").arg(FreeLoopbackPort());
    bool open = false;
    const QStringList shown = Order({ { kButtonOk }, { kButtonOk } }, &open);
    EXPECT_EQ(shown, (QStringList { kOrderQuestion, QStringLiteral("Nie udało się połączyć z serwerem FTP !") }));
    EXPECT_TRUE(open);
    EXPECT_FALSE(window.bsend->isHidden()) << "back from sending";
    EXPECT_EQ(Entry().GetValue("ordersend"), "");
    EXPECT_TRUE(OrderFilesLeft()) << "kept for the next start";
    EXPECT_EQ(newProjects, 0);
    EXPECT_EQ(statusAtDialogs, (QStringList { kReadyToSend, QStringLiteral("Łączenie z serwerem ...") }))
        << "the failing step named beside its message";
    EXPECT_EQ(statusAfter, kReadyToSend);
}

// The next start offers the order the server could not take: OK finishes it with the sending
// page showing and ends as a sent order; "NIE" drops it.
TEST_F(SendOrderRunTest, UnfinishedOrderIsOfferedAtTheNextStart)
{
    for (const bool finish : { true, false }) {
        SCOPED_TRACE(finish ? "OK" : "NIE");
        const QString host = f.engine.host;
        f.engine.host = QStringLiteral("127.0.0.1:%1").arg(FreeLoopbackPort());
        Order({ { kButtonOk }, { kButtonOk } });
        f.engine.host = host;
        ASSERT_TRUE(OrderFilesLeft());
        const QString id = Entry().GetValue("oid");
        newProjects = 0;
        QStringList shown;
        QString statusShown;
        bool windowShown = false, onlySendingPage = false;
        {
            TDialogAnswers answers { { finish ? kButtonOk : kButtonNo }, { kButtonOk } };
            answers.SetObserver([&](Tfdialog&) {
                statusShown = window.lstat->text();
                windowShown = window.isVisible();
                onlySendingPage = window.mpsend->isVisible() && window.mporder->isHidden() && window.mpuser->isHidden();
            });
            window.ShowPage(2); // as the window was left, or as a new one stands
            window.OfferUnfinishedOrders();
            for (const TShownDialog& dialog : answers.Shown())
                shown << dialog.text;
        }
        const QString question
            = QStringLiteral("Dokończyć wysyłanie zlecenia ") + id + QStringLiteral(" (wysłano 0 z 3 plików) ?");
        EXPECT_FALSE(OrderFilesLeft());
        EXPECT_FALSE(window.isVisible());
        if (finish) {
            EXPECT_EQ(shown,
                (QStringList { question,
                    QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?") }));
            EXPECT_EQ(statusShown, QStringLiteral("Zlecenie zostało wysłane."));
            EXPECT_TRUE(windowShown);
            EXPECT_TRUE(onlySendingPage) << "no other page beside the figures";
            EXPECT_EQ(newProjects, 1);
            EXPECT_EQ(pages.urls.size(), 1);
            EXPECT_EQ(Entry().GetValue("ordersend"), "1");
            const TOrderVerdict verdict = CheckOrder(server.Orders(), id);
            EXPECT_TRUE(verdict.ok) << verdict.text.toStdString();
        } else {
            EXPECT_EQ(shown, QStringList { question });
            EXPECT_EQ(newProjects, 0);
            EXPECT_EQ(Entry().GetValue("ordersend"), "");
        }
        for (const QString& name : OnServer())
            QFile::remove(server.Orders(name));
        for (const QString& name : QDir(app.Path("history")).entryList(QDir::Files))
            QFile::remove(app.Path("history/" + name));
    }
}

// Whatever the event loop sees while the order runs: "Obecna czynność" names the step that is
// running, in order, and the window's figures and state belong to the order.
TEST_F(SendOrderRunTest, StatusNamesEachRunningStep)
{
    f.engine.pack = true;
    QStringList steps;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window.isEnabled() && (steps.isEmpty() || steps.back() != window.lstat->text()))
            steps << window.lstat->text();
    });
    watch.start();
    Order({ { kButtonOk }, { kButtonOk } });
    // The last step stands beside the closing question, which the answers here take without
    // the event loop a shown dialog runs.
    steps << statusAtDialogs.back();
    EXPECT_EQ(steps,
        (QStringList { "Formatowanie zlecenia ...", "Tworzenie zlecenia ...", "Kompresowanie zlecenia ...",
            QStringLiteral("Łączenie z serwerem ..."), QStringLiteral("Wysyłanie zlecenia ..."),
            QStringLiteral("Zlecenie zostało wysłane.") }));
}

// Restoring the window from minimised, or a show event sent to it, in the middle of an order:
// the order goes on untouched, nothing of the opening runs again.
TEST_F(SendOrderRunTest, ShowingTheWindowAgainMidOrderRestartsNothing)
{
    struct TSeen {
        bool enabled = true;
        bool sendPage = false;
        bool customerPage = true;
        bool orderButton = true;
        bool firstTickPending = true;
        QString id, originalSize, status;
    };
    QList<TSeen> seen;
    QString id, originalSize;
    const auto look = [&] {
        return TSeen { window.isEnabled(), window.mpsend->isVisible(), window.mpuser->isVisible(),
            !window.bsend->isHidden(), window.Timer1->isActive(), window.lid->text(), window.lsizeoryg->text(),
            window.lstat->text() };
    };
    QTimer poke;
    poke.setInterval(0);
    QObject::connect(&poke, &QTimer::timeout, [&] {
        // Once the order has its ID and figures, while its photos are rendered.
        if (window.isEnabled() || window.lid->text().isEmpty())
            return;
        poke.stop();
        id = window.lid->text();
        originalSize = window.lsizeoryg->text();
        window.showMinimized(); // a spontaneous hide, the window stays open
        window.showNormal(); // and a spontaneous show
        QApplication::processEvents();
        seen << look();
        QShowEvent shown;
        QApplication::sendEvent(&window, &shown);
        QApplication::processEvents();
        seen << look();
    });
    poke.start();
    const QStringList shown = Order({ { kButtonOk }, { kButtonOk } });
    ASSERT_EQ(seen.size(), 2) << "the order never reached its rendering";
    for (const TSeen& s : seen) {
        EXPECT_FALSE(s.enabled);
        EXPECT_TRUE(s.sendPage);
        EXPECT_FALSE(s.customerPage);
        EXPECT_FALSE(s.orderButton);
        EXPECT_FALSE(s.firstTickPending) << "no second login or shop list";
        EXPECT_EQ(s.id, id);
        EXPECT_EQ(s.originalSize, originalSize);
        EXPECT_EQ(s.status, "Tworzenie zlecenia ...");
    }
    EXPECT_EQ(
        shown.back(), QStringLiteral("Zlecenie zostało pomyślnie wysłane !\rWyczyścić zlecenie z wysłanych zdjęć ?"));
    EXPECT_EQ(forgotten, 1) << "the first tick ran once";
    const TOrderVerdict verdict = CheckOrder(server.Orders(), Entry().GetValue("oid"));
    EXPECT_TRUE(verdict.ok) << verdict.text.toStdString();
    EXPECT_EQ(newProjects, 1);

    // Each opening is an opening again: the window closed after the order opens afresh.
    EXPECT_TRUE(Run([&] {
        EXPECT_TRUE(window.mpuser->isVisible());
        EXPECT_EQ(window.lstat->text(), kReadyToSend);
        EXPECT_TRUE(window.lid->text().isEmpty());
    }));
    EXPECT_EQ(forgotten, 2);
}

TEST_F(SendOrderTest, PagesWalkedFromTheKeyboardAlone)
{
    // The first shop offers everything: a payment is all that page 2 needs.
    TDialogAnswers answers { { kButtonNo } }; // no order is sent
    QString opened, onPage2, onPage3, onPage2Again;
    QStringList page1Tabs, page2Tabs;
    bool page2 = false, page3 = false, back = false;
    ASSERT_TRUE(Run([&] {
        opened = window.focusWidget()->objectName();
        page1Tabs = TabWalk(&window);
        FillCustomerPage();
        PressKey(&window, Qt::Key_Return); // "Dalej"
        page2 = window.mporder->isVisible();
        onPage2 = window.focusWidget()->objectName();
        page2Tabs = TabWalk(&window);
        window.cbpaycash->setFocus();
        PressKey(&window, Qt::Key_Space);
        PressKey(&window, Qt::Key_Return); // "Dalej" from a check box
        page3 = window.mpsend->isVisible();
        onPage3 = window.focusWidget()->objectName();
        PressKey(&window, Qt::Key_Tab, Qt::ShiftModifier);
        PressKey(&window, Qt::Key_Space); // "Powrót", before "ZAMAWIAM"
        back = window.mporder->isVisible();
        onPage2Again = window.focusWidget()->objectName();
        PressKey(&window, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible()) << "Escape cancels before the order runs";
    }));
    EXPECT_EQ(opened, "ename");
    EXPECT_EQ(page1Tabs,
        (QStringList { "estreet", "ecity", "ephone", "eemail", "ecompany", "enip", "cbsave", "GradientButton5",
            "GradientButton4" }));
    EXPECT_TRUE(page2);
    EXPECT_EQ(onPage2, "eshop") << "the focus goes on to the page shown";
    EXPECT_EQ(page2Tabs.mid(0, 3), (QStringList { "GradientButton1", "cbpersonal", "cbvat" }));
    EXPECT_EQ(page2Tabs.mid(page2Tabs.size() - 2), (QStringList { "GradientButton3", "GradientButton2" }));
    EXPECT_TRUE(page3);
    EXPECT_EQ(onPage3, "bsend");
    EXPECT_TRUE(back);
    EXPECT_EQ(onPage2Again, "eshop");
    for (const TShownDialog& shown : answers.Shown())
        ADD_FAILURE() << shown.text.toStdString();
}

} // namespace
