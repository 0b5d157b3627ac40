// Stored correction sets: the exact file layout, unique names, the folder made on demand,
// and every malformed file refused without harm.
#include "editing/correctionsfile.h"
#include "imaging/correctionsrecord.h"
#include "platform/cp1250.h"
#include "tests/support/testsupport.h"

#include <QFileInfo>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray LenString(const QByteArray& bytes)
{
    QByteArray length(4, '\0');
    qToLittleEndian<qint32>(qint32(bytes.size()), length.data());
    return length + bytes;
}

Corrections SampleRecord()
{
    Corrections record;
    InitCorrections(record);
    record.rotation = 1;
    record.sepia = 1;
    record.crop = { 0.1f, 0.2f, 0.5f, 0.6f, 0.6f, 0.8f };
    record.inten = 40;
    record.hue1 = -120;
    record.reserved[1] = 7; // carried along unchanged
    return record;
}

QByteArray RecordBytes(const Corrections& record)
{
    const CorrectionsRecordBytes bytes = CorrectionsToBytes(record);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

const QByteArray kHeader = LenString("VD: corrections file. DO NOT EDIT!");

} // namespace

TEST(CorrectionsFile, WritesTheDocumentedLayoutUnderUniqueNamesInAFolderItMakes)
{
    ScopedAppDir app;
    const Corrections record = SampleRecord();
    const QString first = WriteCorrectionsFile(QStringLiteral("Ciepły"), record);
    const QString second = WriteCorrectionsFile(QStringLiteral("Ciepły"), record);
    EXPECT_EQ(first, app.Path(QStringLiteral("corrections/cor.dat")));
    EXPECT_EQ(second, app.Path(QStringLiteral("corrections/cor_1.dat")));
    EXPECT_EQ(ReadFileBytes(first), kHeader + LenString(ToCp1250(QStringLiteral("Ciepły"))) + RecordBytes(record));

    QString name;
    Corrections read;
    InitCorrections(read);
    ASSERT_TRUE(ReadCorrectionsFile(second, name, read));
    EXPECT_EQ(name, QStringLiteral("Ciepły"));
    EXPECT_EQ(read, record);
    EXPECT_TRUE(LogHasLine(QStringLiteral("Saving corrections \"Ciepły\" to: cor_1.dat"), 0));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Loading corrections from: cor_1.dat"), 0));
}

TEST(CorrectionsFile, AFolderThatCannotBeMadeGivesNoPath)
{
    ScopedAppDir app;
    ASSERT_TRUE(WriteFileBytes(app.Path(QStringLiteral("corrections")), "a file in the way"));
    EXPECT_TRUE(WriteCorrectionsFile(QStringLiteral("x"), SampleRecord()).isEmpty());
}

TEST(CorrectionsFile, ScanOffersEveryReadableDatFileAndSkipsTheRest)
{
    ScopedAppDir app;
    const QByteArray record = RecordBytes(SampleRecord());
    const QByteArray name = LenString("Zestaw");
    const struct {
        const char* file;
        QByteArray bytes;
        bool offered;
    } cases[] = {
        { "good.dat", kHeader + name + record, true },
        { "UPPER.DAT", kHeader + LenString(ToCp1250(QStringLiteral("Duże"))) + record, true },
        { "longer.dat", kHeader + name + record + "trailing bytes are ignored", true },
        { "other-header.dat", LenString("VD: corrections file. DO NOT EDIT?") + name + record, false },
        { "empty-name.dat", kHeader + LenString("") + record, false },
        { "long-name.dat", kHeader + LenString(QByteArray(49, 'x')) + record, false },
        { "short-record.dat", kHeader + name + record.left(68), false },
        { "huge-length.dat", kHeader + QByteArray("\xff\xff\xff\x7f", 4) + record, false },
        { "negative-length.dat", QByteArray("\xfe\xff\xff\xff", 4) + name + record, false },
        { "empty.dat", QByteArray(), false },
        { "not-a-set.txt", kHeader + name + record, false },
    };
    for (const auto& entry : cases)
        ASSERT_TRUE(WriteFileBytes(app.Path(QStringLiteral("corrections/") + QLatin1String(entry.file)), entry.bytes));

    TStoredCorrections stored;
    stored.Append(QStringLiteral("/left/over.dat"), QStringLiteral("replaced by the scan"));
    stored.Scan();
    QStringList offeredFiles;
    for (const QString& path : stored.Paths())
        offeredFiles << QFileInfo(path).fileName();
    offeredFiles.sort();
    EXPECT_EQ(offeredFiles,
        (QStringList { QStringLiteral("UPPER.DAT"), QStringLiteral("good.dat"), QStringLiteral("longer.dat") }));
    ASSERT_EQ(stored.Names().size(), 3);
    EXPECT_TRUE(stored.Names().contains(QStringLiteral("Duże")));
    EXPECT_TRUE(LogHasLine(QStringLiteral("Scan corrections: 10 item(s)."), 0));
}

TEST(CorrectionsFile, MissingFolderScansAsEmpty)
{
    ScopedAppDir app;
    TStoredCorrections stored;
    stored.Scan();
    EXPECT_EQ(stored.Count(), 0);
}

TEST(CorrectionsFile, NamesAreTrimmedAndAtMost48Bytes)
{
    EXPECT_EQ(CorrectionSetName(QStringLiteral("  Zimny  ")), QStringLiteral("Zimny"));
    EXPECT_EQ(CorrectionSetName(QStringLiteral("   ")), QString());
    EXPECT_EQ(CorrectionSetName(QString(48, u'ą')), QString(48, u'ą')); // one byte each in Windows-1250
    EXPECT_EQ(CorrectionSetName(QString(49, u'x')), QString());
}
