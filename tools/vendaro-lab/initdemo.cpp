// vendaro-lab init-demo DIR [--http-port N] [--ftp-port M] [--skins FOLDER] [--large-file] [--ftp-tls N]
//
// Builds a complete demo lab kit: DIR/program is a configured program folder (stamped
// engine.ini with enciphered account and key, skins, tips) and DIR/server is what
// tools/demo-lab/serve.py serves (stamped settings, formats, shops, news, update, login
// accounts, FTP folders for orders and two virtual accounts holding a few files; with
// --large-file one of them also holds a 50 MB scan, so a transfer takes long enough to watch).
// The FTP server speaks TLS with a certificate made for the kit by its own authority
// (server/tls/ca.pem is what a customer's machine must trust); engine.ini asks for TLS with
// tls=2 unless --ftp-tls says otherwise.
#include "tools/vendaro-lab/labcommand.h"

#include "core/blowfish.h"
#include "core/textutils.h"
#include "imaging/jpegsave.h"
#include "lab/md5.h"
#include "lab/stamp.h"
#include "platform/appdir.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>

#include <stdexcept>

namespace {

const QString kUsage
    = QStringLiteral("init-demo DIR [--http-port N] [--ftp-port M] [--skins FOLDER] [--large-file] [--ftp-tls 0|1|2]");
const QString kLabUser = QStringLiteral("demolab");

// A kit file that cannot be written ends the command.
struct KitError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!WriteFileAtomically(path, bytes))
        throw KitError(("cannot write " + path).toStdString());
}

// Files the program reads are Windows-1250 with CR LF line ends.
void WriteLabText(const QString& path, const QString& text)
{
    QString crlf = text;
    crlf.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\n', QLatin1String("\r\n"));
    WriteBytes(path, ToCp1250(crlf));
}

void WriteStampedLabText(const QString& path, const QString& text)
{
    WriteLabText(path, text);
    if (!WriteStamp(path))
        throw KitError(("cannot stamp " + path).toStdString());
}

struct Kit {
    QString root;
    int httpPort = 8080;
    int ftpPort = 2121;
    QString ftpPassword = RandomHex(12).toLower();
    QString authkey = RandomHex(24);
    int tls = 2; // engine.ini's [ftp] tls

    QString Program(const QString& name) const { return root + "/program/" + name; }
    QString Server(const QString& name) const { return root + "/server/" + name; }
    QString Www(const QString& name) const { return root + "/server/www/" + name; }
    QString Ftp(const QString& name) const { return root + "/server/ftp/" + name; }
    QString Url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1/%2").arg(httpPort).arg(path); }
};

QString Protect(const QString& plain)
{
    return TBlowFish(QByteArrayView(kLabKey)).EncodeText(plain);
}

void WriteEngineIni(const Kit& kit)
{
    const QString host = QStringLiteral("127.0.0.1:%1").arg(kit.httpPort);
    WriteStampedLabText(kit.Program("config/engine.ini"),
        QStringLiteral("; Vendaro lab configuration of the demo lab (vendaro-lab init-demo)\n"
                       "[misc]\n"
                       "progname=Fotolab Demo\n"
                       "[engine]\n"
                       "formats=http://%1/formats.txt\n"
                       "shops=http://%1/shops.txt\n"
                       "[ftp]\n"
                       "host=127.0.0.1:%2\n"
                       "user=%3\n"
                       "pass=%4\n"
                       "orderpath=/orders\n"
                       "virtual=/virtual\n"
                       "tls=%11\n"
                       "[advanced]\n"
                       "newsseed=%5\n"
                       "newspath=%6\n"
                       "updateseed=%7\n"
                       "updatepath=%8\n"
                       "settings=%9\n"
                       "authkey=%10\n")
            .arg(host)
            .arg(kit.ftpPort)
            .arg(Protect(kLabUser), Protect(kit.ftpPassword), kit.Url("seeds/newsid.txt"), kit.Url("news/"),
                kit.Url("seeds/npid.txt"), kit.Url("update/vendaro-setup.sh"), kit.Url("engine_set.ini"))
            .arg(Protect(kit.authkey))
            .arg(kit.tls));
}

void OpenSsl(const QStringList& arguments)
{
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"), arguments);
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0)
        throw KitError(
            ("openssl " + arguments.first() + " failed: " + QString::fromLocal8Bit(openssl.readAll()).simplified())
                .toStdString());
}

// The kit's authority and the FTP server's certificate, made out to 127.0.0.1 and localhost:
// server/tls/ca.pem (to trust) and server/tls/server.pem (certificate and key, for serve.py).
// The authority's key is not kept: nothing else is ever signed with it.
void WriteCertificates(const Kit& kit)
{
    const QString folder = kit.Server("tls");
    if (!QDir().mkpath(folder))
        throw KitError(("cannot create " + folder).toStdString());
    const QDir dir(folder);
    const QString caKey = dir.filePath("ca.key"), key = dir.filePath("server.key");
    const QString request = dir.filePath("server.csr"), certificate = dir.filePath("server.crt");
    WriteBytes(dir.filePath("server.ext"), "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    OpenSsl({ "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "3650",
        "-subj", "/O=Vendaro demo lab/CN=Vendaro demo lab authority", "-keyout", caKey, "-out",
        dir.filePath("ca.pem") });
    OpenSsl({ "req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-subj",
        "/O=Vendaro demo lab/CN=127.0.0.1", "-keyout", key, "-out", request });
    OpenSsl({ "x509", "-req", "-in", request, "-CA", dir.filePath("ca.pem"), "-CAkey", caKey, "-set_serial",
        "0x" + RandomHex(16), "-days", "3650", "-extfile", dir.filePath("server.ext"), "-out", certificate });
    QFile certificateFile(certificate), keyFile(key);
    if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
        throw KitError(("cannot read " + certificate).toStdString());
    WriteBytes(dir.filePath("server.pem"), certificateFile.readAll() + keyFile.readAll());
    for (const QString& scrap : { caKey, key, request, certificate, dir.filePath("server.ext") })
        QFile::remove(scrap);
    QFile::setPermissions(dir.filePath("server.pem"), QFile::ReadOwner | QFile::WriteOwner);
}

void WriteSettings(const Kit& kit)
{
    WriteStampedLabText(kit.Www("engine_set.ini"),
        QStringLiteral("; Settings of the demo lab, fetched by the program at every start\n"
                       "[engine]\n"
                       "outputdpi=300\n"
                       "mindpi=150\n"
                       "forceformat=0\n"
                       "formatmargin=0\n"
                       "usenews=1\n"
                       "useupdates=1\n"
                       "orderid=%1\n"
                       "[company]\n"
                       "name=Fotolab Demo\n"
                       "owner=Fotolab Demo sp. z o.o.\n"
                       "person=Anna Wiśniewska\n"
                       "street=ul. Piotrkowska 104\n"
                       "city=90-926 Łódź\n"
                       "phone=+48 42 630 12 34\n"
                       "email=zlecenia@fotolab-demo.pl\n"
                       "www=%2\n"
                       "bank=PL61 1090 1014 0000 0712 1981 2874\n"
                       "noshop=0\n"
                       "personal=1\n"
                       "paycash=1\n"
                       "paytransfer=1\n"
                       "paycard=1\n"
                       "vat=1\n"
                       "[sendorder]\n"
                       "loginscript=%3\n"
                       "postorderpage=%4\n"
                       "newuserpage=%5\n"
                       "pack=0\n"
                       "delivery_price=1490\n"
                       "delivery_pricepre=990\n"
                       "min_price=2000\n"
                       "open_price=500\n"
                       "minphotos=1\n")
            .arg(kit.Url("orderid"), kit.Url("lab/"), kit.Url("login"), kit.Url("postorder"),
                kit.Url("lab/rejestracja.html")));
}

void WriteCatalogues(const Kit& kit)
{
    // ID|name|price in grosze|side|side (millimetres)
    WriteLabText(kit.Www("formats.txt"),
        QStringLiteral("1|9 x 13|69|89|127\n"
                       "2|10 x 15|79|102|152\n"
                       "3|13 x 18|129|127|178\n"
                       "4|15 x 15 kwadrat|149|152|152\n"
                       "5|15 x 21|179|152|210\n"
                       "6|20 x 30|499|203|305\n"
                       "7|21 x 30 (A4)|529|210|297\n"
                       "8|25 x 38|1290|254|381\n"
                       "9|30 x 40|1990|305|406\n"
                       "10|30 x 45|2290|305|457\n"));
    // ID|name|city|street|email|phone|bank|personal|cash|transfer|card[|vat]
    WriteLabText(kit.Www("shops.txt"),
        QStringLiteral("101|Foto-Punkt Manufaktura|91-065 Łódź|ul. Karskiego 5|manufaktura@fotopunkt.pl|42 664 15 15|"
                       "PL27 1140 2004 0000 3002 0135 5387|1|1|1|1|1\n"
                       "102|Kiosk Foto Bałuty|91-402 Łódź|ul. Limanowskiego 147||42 655 20 20||1|1|0|0|0\n"
                       "103|Fotograf Jan Malinowski|95-100 Zgierz|ul. Długa 12|studio@malinowski-foto.pl|"
                       "42 716 33 44|PL83 1020 3352 0000 1102 0015 6218|1|1|1|0\n"
                       "104|Księgarnia i Foto „Pod Arkadami”|95-200 Pabianice|ul. Zamkowa 3|arkady@pabianice.pl|"
                       "42 215 11 22|PL10 1240 3028 1111 0010 2755 3210|1|1|1|1|0\n"
                       "105|Drogeria Róża - punkt foto|97-300 Piotrków Trybunalski|Rynek Trybunalski 8|"
                       "roza@drogeria-roza.pl|44 647 80 90||1|1|0|1|1\n"
                       "106|Foto Expres Dworzec|00-844 Warszawa|al. Jerozolimskie 54|expres@fotoexpres.pl|"
                       "22 620 40 40|PL44 1050 1025 1000 0022 3344 5566|1|0|1|1|1\n"
                       "107|Wysyłka pocztowa (bez odbioru osobistego)|90-926 Łódź|ul. Piotrkowska 104|"
                       "wysylka@fotolab-demo.pl|42 630 12 35|PL61 1090 1014 0000 0712 1981 2874|0|0|1|1|1\n"
                       "108|Studio Foto Kadr|96-100 Skierniewice|ul. Senatorska 21|kadr@studio-kadr.pl|46 833 22 11|"
                       "|1|1|0|0\n"
                       "109|Centrum Handlowe Sukcesja - stoisko foto|90-361 Łódź|al. Politechniki 1|"
                       "sukcesja@fotopunkt.pl|42 204 50 50|PL27 1140 2004 0000 3002 0135 5387|1|1|0|1|1\n"));
}

void WriteTips(const Kit& kit)
{
    const QStringList tips = {
        QStringLiteral("Zdjęcia dodasz najszybciej, przeciągając je z folderu prosto do okna programu."),
        QStringLiteral("Kliknij dwukrotnie miniaturę, aby otworzyć korekcję kolorów: jasność, kontrast, nasycenie i "
                       "balans barw zmienisz suwakami, a efekt widać od razu."),
        QStringLiteral("Format odbitki i liczbę kopii możesz ustawić od razu dla wielu zdjęć: zaznacz je z klawiszem "
                       "Ctrl lub Shift i wybierz format."),
        QStringLiteral("Zanim wyślesz zlecenie, obejrzyj podgląd wydruku - pokaże dokładnie, jaka część zdjęcia "
                       "zmieści się na odbitce wybranego formatu."),
        QStringLiteral("Kadrowanie zachowuje proporcje wybranego formatu, więc na odbitce nie pojawią się białe "
                       "paski."),
        QStringLiteral("Czerwony znak przy miniaturze oznacza, że zdjęcie ma za małą rozdzielczość na wybrany format "
                       "- odbitka może być nieostra. Wybierz mniejszy format lub inne zdjęcie."),
        QStringLiteral("Zdjęcie obrócisz o 90 stopni w oknie kadrowania - obrót nie zmienia pliku na Twoim dysku."),
        QStringLiteral("Program nigdy nie zmienia Twoich oryginalnych plików: wszystkie poprawki trafiają tylko do "
                       "zlecenia."),
        QStringLiteral("Dane do zamówienia możesz zapamiętać - przy następnym zleceniu nie trzeba ich wpisywać "
                       "ponownie."),
        QStringLiteral("W historii zleceń znajdziesz wszystkie wysłane zamówienia wraz z miniaturami zdjęć i cenami."),
        QStringLiteral("Konto wirtualne pozwala wymieniać z zakładem dowolne pliki, np. skany albo projekty albumów. "
                       "Numer konta otrzymasz od zakładu."),
        QStringLiteral("Jeśli łączysz się z internetem przez serwer proxy, ustawisz go w oknie ustawień programu."),
    };
    QString text = QStringLiteral("[tips]\ncount=%1\npos=0\n").arg(tips.size());
    for (int i = 0; i < tips.size(); ++i)
        text += QStringLiteral("tip%1=%2\n").arg(i + 1).arg(tips[i]);
    WriteLabText(kit.Program("tips.ini"), text);
}

void WriteWebPages(const Kit& kit)
{
    const QString style = QStringLiteral(
        "<style>body{font-family:sans-serif;margin:0;color:#222}header{background:#1d4e89;color:#fff;"
        "padding:14px 20px}main{padding:8px 20px}h2{color:#1d4e89;font-size:1.1em}.price{color:#b3261e;"
        "font-weight:bold}</style>");
    WriteBytes(kit.Www("news/index.html"),
        ("<!DOCTYPE html><html lang='pl'><head><meta charset='utf-8'><title>Nowości w Fotolab Demo</title>" + style
            + "</head><body><header><h1>Fotolab Demo - nowości</h1></header><main>"
              "<h2>Odbitki 10 x 15 w promocji</h2><p>Do końca miesiąca każda odbitka 10 x 15 kosztuje tylko "
              "<span class='price'>0,69 zł</span> przy zamówieniu powyżej 100 sztuk.</p>"
              "<h2>Nowy format: 15 x 15 kwadrat</h2><p>Idealny do zdjęć z telefonu i albumów "
              "w stylu retro.</p>"
              "<h2>Nowy punkt odbioru</h2><p>Zapraszamy do stoiska foto w Centrum Handlowym Sukcesja "
              "(al. Politechniki 1, Łódź).</p></main></body></html>")
            .toUtf8());
    WriteBytes(kit.Www("lab/index.html"),
        ("<!DOCTYPE html><html lang='pl'><head><meta charset='utf-8'><title>Fotolab Demo</title>" + style
            + "</head><body><header><h1>Fotolab Demo</h1></header><main><p>ul. Piotrkowska 104, 90-926 Łódź, "
              "tel. +48 42 630 12 34</p><p>Pracownia czynna od poniedziałku do piątku w godz. 9-19, w soboty "
              "9-14.</p></main></body></html>")
            .toUtf8());
    WriteBytes(kit.Www("lab/rejestracja.html"),
        ("<!DOCTYPE html><html lang='pl'><head><meta charset='utf-8'><title>Rejestracja</title>" + style
            + "</head><body><header><h1>Rejestracja nowego klienta</h1></header><main><p>W wersji "
              "demonstracyjnej konta zakłada pracownia. Skorzystaj z konta <b>jan.kowalski</b> "
              "z hasłem <b>demo123</b>.</p></main></body></html>")
            .toUtf8());
}

void WriteSeeds(const Kit& kit)
{
    WriteLabText(kit.Www("seeds/newsid.txt"), QStringLiteral("1\n"));
    // The running version and an update id: the first start records the id and offers nothing.
    WriteLabText(kit.Www("seeds/npid.txt"), VersionString(ExecutablePath(), QStringLiteral("Build ")) + "\nDEMO-1\n");
    WriteBytes(kit.Www("update/vendaro-setup.sh"),
        "#!/bin/sh\necho \"Demo lab installer: this demo has nothing to install.\"\n");
}

QJsonObject Account(const QString& password, const QString& name, const QString& city, const QString& street,
    const QString& phone, const QString& email, const QString& nip = {}, const QString& company = {})
{
    return { { "password", password }, { "name", name }, { "city", city }, { "street", street }, { "phone", phone },
        { "email", email }, { "nip", nip }, { "company", company } };
}

void WriteServerSettings(const Kit& kit)
{
    const QJsonObject serve { { "http_port", kit.httpPort }, { "ftp_port", kit.ftpPort }, { "ftp_user", kLabUser },
        { "ftp_password", kit.ftpPassword }, { "authkey", kit.authkey }, { "www", "www" }, { "ftp_root", "ftp" },
        { "accounts", "accounts.json" }, { "public", QJsonArray { "/news/", "/lab/", "/postorder", "/favicon.ico" } },
        { "ftp_tls_cert", "tls/server.pem" } };
    WriteBytes(kit.Server("serve.json"), QJsonDocument(serve).toJson());

    QJsonObject blocked = Account("blokada", "Piotr Zieliński", "", "", "", "");
    blocked["blocked"] = QStringLiteral("Konto zostało zablokowane. Skontaktuj się z pracownią.");
    const QJsonObject accounts {
        { "jan.kowalski",
            Account("demo123", "Jan Kowalski", "00-950 Warszawa", "ul. Marszałkowska 10/4", "600 100 200",
                "jan.kowalski@example.pl") },
        { "agata",
            Account("zdjecia", "Agata Lewandowska", "30-001 Kraków", "ul. Floriańska 22/3", "512 345 678",
                "agata.lewandowska@example.pl", "676-101-44-22", "Studio Agata Lewandowska") },
        { "piotr", blocked },
    };
    WriteBytes(kit.Server("accounts.json"), QJsonDocument(accounts).toJson());
}

// A landscape for the virtual accounts, so a downloaded photo shows something real.
QImage SamplePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(width / 320.0, height / 240.0);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(70, 130, 200));
    sky.setColorAt(1, QColor(250, 210, 150));
    painter.fillRect(QRect(0, 0, 320, 240), sky);
    painter.setBrush(QColor(60, 110, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(80, 300), 220, 120);
    painter.drawEllipse(QPoint(300, 320), 200, 130);
    painter.setBrush(QColor(255, 240, 180));
    painter.drawEllipse(QPoint(250, 60), 25, 25);
    painter.end();
    return image;
}

void WriteJpeg(const QString& path, const QImage& picture)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!SaveJpeg(picture, path, 90))
        throw KitError(("cannot write " + path).toStdString());
}

// A one-page PDF showing lines of text (ASCII, Helvetica), readable in any viewer.
QByteArray SamplePdf(const QStringList& lines)
{
    QByteArray text = "BT /F1 14 Tf 56 780 Td 20 TL\n";
    for (const QString& line : lines)
        text += "(" + line.toLatin1() + ") Tj T*\n";
    text += "ET";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + QByteArray::number(text.size()) + " >>\nstream\n" + text + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

void WriteVirtualAccount(
    const Kit& kit, const QString& id, const QString& description, int sizeMb, const QString& password)
{
    WriteLabText(kit.Ftp("virtual/" + id + "/account_manifest.vds"),
        QStringLiteral("id=%1\ndescr=%2\nsize=%3\npass=%4\n")
            .arg(id, description, QString::number(sizeMb),
                MD5Hex(password.isEmpty() ? QStringLiteral("none") : password)));
}

void WriteAccountFiles(const Kit& kit, bool largeFile)
{
    const QString demo = kit.Ftp("virtual/DEMO2024/");
    WriteLabText(demo + "witaj.txt",
        QStringLiteral("Witamy na koncie wirtualnym Fotolab Demo.\nTu wymienisz z nami dowolne pliki.\n"));
    WriteBytes(demo + "cennik.pdf",
        SamplePdf({ "Fotolab Demo - cennik uslug", "", "Odbitka 10 x 15: 0,79 zl", "Odbitka 13 x 18: 1,29 zl",
            "Skanowanie negatywu: 2,00 zl", "Projekt albumu: od 150,00 zl" }));
    WriteJpeg(demo + "krajobraz.jpg", SamplePicture(1600, 1200));
    // A 50 MB uncompressed scan: a download or upload of it runs long enough to watch.
    if (largeFile && !SamplePicture(4000, 4166).save(demo + "skan_negatywu.bmp", "BMP"))
        throw KitError(("cannot write " + demo + "skan_negatywu.bmp").toStdString());

    const QString album = kit.Ftp("virtual/FOTO7788/");
    WriteBytes(album + "projekt_albumu.pdf",
        SamplePdf({ "Projekt albumu slubnego", "", "Format 30 x 30 cm, 40 stron", "Okladka: plotno, kolor kremowy",
            "Prosimy o akceptacje projektu." }));
    WriteJpeg(album + "okladka.jpg", SamplePicture(1200, 1200));
}

int CopySkins(const Kit& kit, const QString& skinsFolder)
{
    int copied = 0;
    const QFileInfoList skins = QDir(skinsFolder).entryInfoList({ QStringLiteral("*.vdskin") }, QDir::Files);
    for (const QFileInfo& skin : skins) {
        QFile source(skin.filePath());
        if (!source.open(QIODevice::ReadOnly))
            throw KitError(("cannot read " + skin.filePath()).toStdString());
        WriteBytes(kit.Program("skins/" + skin.fileName()), source.readAll());
        ++copied;
    }
    return copied;
}

bool TakePort(QStringList& args, const QString& option, int& port)
{
    const qsizetype at = args.indexOf(option);
    if (at < 0)
        return true;
    bool ok = false;
    port = at + 1 < args.size() ? args[at + 1].toInt(&ok) : 0;
    args.remove(at, std::min<qsizetype>(2, args.size() - at));
    return ok && port > 0 && port < 65536;
}

int RunInitDemo(const QStringList& arguments)
{
    QStringList args = arguments;
    Kit kit;
    if (!TakePort(args, QStringLiteral("--http-port"), kit.httpPort)
        || !TakePort(args, QStringLiteral("--ftp-port"), kit.ftpPort))
        return LabFail(QStringLiteral("a port is a number from 1 to 65535; usage: vendaro-lab ") + kUsage);
    QString skinsFolder = QStringLiteral(VENDARO_BUILD_SKINS);
    const bool largeFile = args.removeAll(QStringLiteral("--large-file")) > 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--ftp-tls")); at >= 0) {
        const QString value = at + 1 < args.size() ? args[at + 1] : QString();
        if (value != u'0' && value != u'1' && value != u'2')
            return LabFail("--ftp-tls is 0, 1 or 2; usage: vendaro-lab " + kUsage);
        kit.tls = value.toInt();
        args.remove(at, 2);
    }
    if (const qsizetype at = args.indexOf(QStringLiteral("--skins")); at >= 0) {
        if (at + 1 >= args.size())
            return LabFail("usage: vendaro-lab " + kUsage);
        skinsFolder = args[at + 1];
        args.remove(at, 2);
    }
    if (args.size() != 1 || args.front().startsWith(u'-'))
        return LabFail("usage: vendaro-lab " + kUsage);
    kit.root = QDir(args.front()).absolutePath();
    if (QFileInfo::exists(kit.root + "/program") || QFileInfo::exists(kit.root + "/server"))
        return LabFail(kit.root + " already holds a kit; remove it first");

    try {
        WriteEngineIni(kit);
        WriteTips(kit);
        const int skins = CopySkins(kit, skinsFolder);
        WriteSettings(kit);
        WriteCatalogues(kit);
        WriteWebPages(kit);
        WriteSeeds(kit);
        WriteServerSettings(kit);
        WriteCertificates(kit);
        if (!QDir().mkpath(kit.Ftp("orders")))
            throw KitError(("cannot create " + kit.Ftp("orders")).toStdString());
        WriteVirtualAccount(kit, "DEMO2024", QStringLiteral("Konto demonstracyjne (bez hasła)"), 200, {});
        WriteVirtualAccount(kit, "FOTO7788", QStringLiteral("Projekt albumu ślubnego"), 200, "album2024");
        WriteAccountFiles(kit, largeFile);
        LabPrint("Demo lab kit written to " + kit.root);
        LabPrint("  program folder: " + kit.root + "/program (start with VENDARO_APPDIR pointing here)");
        LabPrint(QStringLiteral("  servers: /usr/bin/python3 tools/demo-lab/serve.py %1 (HTTP %2, FTP %3)")
                     .arg(kit.root, QString::number(kit.httpPort), QString::number(kit.ftpPort)));
        if (skins == 0)
            LabPrint("  note: no skins found in " + skinsFolder + "; the program starts with its own colours");
        LabPrint(QStringLiteral("  login: jan.kowalski / demo123; virtual accounts: DEMO2024 (no password), "
                                "FOTO7788 (password album2024)"));
        return 0;
    } catch (const KitError& e) {
        return LabFail(QString::fromUtf8(e.what()));
    }
}

const LabCommand command(QStringLiteral("init-demo"), kUsage,
    QStringLiteral("Builds a demo lab kit in DIR: DIR/program, a program folder configured for the\n"
                   "lab (stamped engine.ini, skins, tips), and DIR/server, which\n"
                   "tools/demo-lab/serve.py serves on 127.0.0.1 (default ports 8080 and 2121).\n"
                   "--large-file adds a 50 MB file to the virtual account DEMO2024.\n"
                   "The FTP server offers TLS with a certificate made for the kit (its authority:\n"
                   "DIR/server/tls/ca.pem, which the customer's machine must trust, e.g. through\n"
                   "SSL_CERT_FILE); engine.ini asks for TLS (tls=2) unless --ftp-tls says 0 or 1."),
    RunInitDemo);

} // namespace
