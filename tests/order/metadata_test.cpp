// The metadata file, line by line, on a real photo project; values that would break its lines.
#include "order/metadata.h"
#include "order/metadatareader.h"

#include "platform/appdir.h"
#include "platform/process.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

constexpr int kFormat9x13 = 7;

class MetadataTest : public testing::Test {
protected:
    void SetUp() override
    {
        fixture_.formats.Add(
            { .id = kFormat9x13, .name = QStringLiteral("9|13"), .price = 35, .widthMm = 89, .heightMm = 127 });
        const struct {
            const char* name;
            int format;
            int quantity;
        } photos[] = { { "wiosna.jpg", kFormat10x15, 3 }, { "a|b.png", kFormat9x13, 1 }, { "zi\nma.jpg", 99, 2 } };
        TVDImage& project = *fixture_.project;
        for (const auto& photo : photos) {
            ASSERT_TRUE(project.AddPhoto(fixture_.WritePhoto(QString::fromUtf8(photo.name), 60, 40)));
            project.SetFormat(project.Count() - 1, photo.format);
            project.Photo(project.Count() - 1).quantity = photo.quantity;
        }
        customer_.name = QStringLiteral("Łucja\r\nŻak\t");
        customer_.street = QStringLiteral("Polna 1");
        customer_.city = QStringLiteral("00-001 Warszawa");
        customer_.phone = QStringLiteral("600100200");
        customer_.email = QStringLiteral("l@example.pl");
        customer_.login = QStringLiteral("lucja");
        customer_.shop = { 12, QStringLiteral("Foto|Punkt"), QStringLiteral("Kraków"), QStringLiteral("Rynek 1"),
            QStringLiteral("12 345"), QStringLiteral("f@p.pl"), QStringLiteral("PL61 1090") };
        customer_.personalPickup = true;
        customer_.payCard = true;
        customer_.vat = true;
    }

    QStringList Lines()
    {
        return MetadataLines(*fixture_.project, fixture_.engine, fixture_.formats, customer_,
            { QStringLiteral("5F9A3CDB"), 3000000000, 1234567, QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)) });
    }

    TProjectFixture fixture_;
    TOrderCustomer customer_;
};

TEST_F(MetadataTest, LinesInTheirOrderWithMendedValues)
{
    const QString exe = ExecutablePath();
    const QStringList expected {
        "metainfo=VD: MetaData, version 1.5",
        "creator=" + QFileInfo(exe).fileName() + ", " + VersionString(exe, "Build "),
        "oid=5F9A3CDB",
        "date=2026-12-10 09:05:07",
        "orygsize_r=2 Gb",
        "orygsize=3000000000", // above 2 GiB
        "size_r=1 Mb",
        "size=1234567",
        "sizesaved_r=2 Gb",
        "sizesaved=2998765433",
        "price=185", // 3 x 0.50 + 0.35 + nothing for the unknown format, no delivery
        "deliveryprice=-1",
        "deliverypricepre=-1",
        "minimalprice=-1",
        "openprice=0",
        "truecount=6",
        "name=Łucja  Żak ",
        "street=Polna 1",
        "city=00-001 Warszawa",
        "phone=600100200",
        "email=l@example.pl",
        "login=lucja",
        "shopid=12",
        "shopname=Foto|Punkt",
        "shopcity=Kraków",
        "shopstreet=Rynek 1",
        "shopphone=12 345",
        "shopemail=f@p.pl",
        "shopbank=PL61 1090",
        "payby=3",
        "deliverypost=0",
        "pack=0",
        "vat=1",
        "count=3",
        "mtmatrix=filename|quantity|formatid|price",
        "mtdata=5F9A3CDB_00001.jpg|3|1|50",
        "mtdata=5F9A3CDB_00002.jpg|1|7|35",
        "mtdata=5F9A3CDB_00003.jpg|2|99|0",
        "rdmatrix=srcfilename|quantity|formatname|price",
        "rddata=wiosna.jpg|3|10x15|50",
        "rddata=a_b.png|1|9_13|35",
        "rddata=zi ma.jpg|2||0",
    };
    const QStringList lines = Lines();
    for (int i = 0; i < std::max(lines.size(), expected.size()); ++i)
        EXPECT_EQ(lines.value(i), expected.value(i)) << "line " << i + 1;
}

TEST_F(MetadataTest, PaymentDeliveryAndPackLines)
{
    fixture_.engine.delivery_price = 900;
    fixture_.engine.delivery_pricepre = 700;
    fixture_.engine.pack = true;
    customer_.personalPickup = false;
    customer_.payCard = false;
    customer_.vat = false;
    const struct {
        bool cash, transfer;
        const char* payby;
        const char* price;
    } cases[] = { { true, false, "payby=1", "price=1085" }, { false, true, "payby=2", "price=885" } };
    for (const auto& c : cases) {
        customer_.payCash = c.cash;
        customer_.payTransfer = c.transfer;
        const QStringList lines = Lines();
        EXPECT_EQ(lines.filter(QRegularExpression("^payby=")), QStringList { c.payby });
        EXPECT_TRUE(lines.contains(c.price)) << c.price;
        EXPECT_TRUE(lines.contains("deliverypost=1"));
        EXPECT_TRUE(lines.contains("pack=1"));
        EXPECT_TRUE(lines.contains("vat=0"));
    }
}

TEST_F(MetadataTest, BytesAreWindows1250WithCrLfAndReadBack)
{
    const QByteArray bytes = MetadataBytes(Lines());
    EXPECT_TRUE(bytes.startsWith("metainfo=VD: MetaData, version 1.5\r\ncreator="));
    EXPECT_TRUE(bytes.contains("\r\nname=\xA3ucja  \xAF"
                               "ak \r\nstreet="));
    EXPECT_TRUE(bytes.endsWith("\r\nrddata=zi ma.jpg|2||0\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));

    const QStringList read = ReadMetadataLines(bytes);
    EXPECT_EQ(read, Lines());
    EXPECT_EQ(MetadataValue(read, "NAME"), QStringLiteral("Łucja  Żak "));
    EXPECT_EQ(MetadataValue(read, "mtdata", 2), "5F9A3CDB_00003.jpg|2|99|0");
    EXPECT_EQ(MetadataValue(read, "mtdata", 3), "");
    EXPECT_EQ(MetadataValue({ "a=b=c", "x" }, "a"), "b=c");
}

// "%1" ... "%9" and "%%" are text like any other in a file name, a format name of the lab's
// catalogue or the order ID: every field keeps its place and its value.
TEST(MetadataMarkersTest, PercentMarkersInNamesStayAsWritten)
{
    TProjectFixture fixture;
    const struct {
        const char* file;
        const char* format; // a format of its own, id 20 + row
        int quantity;
        const char* rddata;
    } cases[] = {
        { "IMG%2.jpg", "10x15", 3, "rddata=IMG%2.jpg|3|10x15|50" },
        { "a%1b.jpg", "10x15", 1, "rddata=a%1b.jpg|1|10x15|50" },
        { "%9%8%7%6%5%4%3.jpg", "%1", 2, "rddata=%9%8%7%6%5%4%3.jpg|2|%1|50" },
        { "100%%.jpg", "%2 x %1 %%", 4, "rddata=100%%.jpg|4|%2 x %1 %%|50" },
        { "%1%1.jpg", "%3|%4", 5, "rddata=%1%1.jpg|5|%3_%4|50" },
    };
    TVDImage& project = *fixture.project;
    for (const auto& c : cases) {
        const int id = 20 + project.Count();
        fixture.formats.Add(
            { .id = id, .name = QString::fromUtf8(c.format), .price = 50, .widthMm = 102, .heightMm = 152 });
        ASSERT_TRUE(project.AddPhoto(fixture.WritePhoto(QString::fromUtf8(c.file), 60, 40))) << c.file;
        project.SetFormat(project.Count() - 1, id);
        project.Photo(project.Count() - 1).quantity = c.quantity;
    }
    TOrderCustomer customer;
    customer.name = QStringLiteral("Jan %1 %% Nowak");
    const QString orderId = QStringLiteral("ab%1%2");
    const QStringList lines = MetadataLines(project, fixture.engine, fixture.formats, customer,
        { orderId, 1000, 500, QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7)) });
    EXPECT_TRUE(lines.contains(QStringLiteral("name=Jan %1 %% Nowak")));
    EXPECT_TRUE(lines.contains(QStringLiteral("oid=ab%1%2")));
    const QStringList mtdata = lines.filter(QRegularExpression("^mtdata="));
    const QStringList rddata = lines.filter(QRegularExpression("^rddata="));
    ASSERT_EQ(rddata.size(), std::size(cases));
    ASSERT_EQ(mtdata.size(), std::size(cases));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        EXPECT_EQ(rddata[i], QString::fromUtf8(cases[i].rddata));
        EXPECT_EQ(mtdata[i],
            QStringLiteral("mtdata=ab%1%2_0000") + QString::number(i + 1) + ".jpg|" + QString::number(cases[i].quantity)
                + "|" + QString::number(20 + i) + "|50");
    }

    // A message to the customer built from such names: the lab's format name and the file name
    // stand where the text puts them, the figures in theirs.
    fixture.formats.Add(
        { .id = 9, .name = QStringLiteral("Baner %1 %%"), .price = 100000, .widthMm = 5000, .heightMm = 1000 });
    ASSERT_TRUE(project.AddPhoto(fixture.WritePhoto(QStringLiteral("IMG%3.jpg"), 60, 40)));
    project.SetFormat(project.Count() - 1, 9);
    EXPECT_EQ(project.OutputSheetProblem(project.Count() - 1),
        QStringLiteral("Format \"Baner %1 %%\" jest za duży: arkusz 59055 x 11811 pikseli przekracza możliwości "
                       "programu (najwyżej 65535 pikseli na bok i 268 mln pikseli).\rWybierz mniejszy format dla "
                       "zdjęcia \"IMG%3.jpg\"."));
}

} // namespace
