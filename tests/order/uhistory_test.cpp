// The history window on entries THistory writes: the listing, the details and their alignment,
// paging with wrap-around over real page files, missing and damaged pages, deletion with its
// warning and question, and the skin's colours of the lists.
#include "order/uhistory.h"

#include "order/historyfolder.h"
#include "tests/project/projectfixture.h"
#include "tests/support/testsupport.h"
#include "tests/support/windowdriver.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/statuslabel.h"
#include "ui/umydialog.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool Near(QRgb pixel, QRgb colour)
{
    return std::abs(qRed(pixel) - qRed(colour)) < 40 && std::abs(qGreen(pixel) - qGreen(colour)) < 40
        && std::abs(qBlue(pixel) - qBlue(colour)) < 40;
}

bool Dark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

class HistoryWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(HistoryFolder()));
        window.SetListColors(Qt::white, Qt::black);
    }

    // An entry as the send-order window leaves it, its pages filled with the given colours.
    THistory Write(const QDateTime& when, const QStringList& lines, const QList<QRgb>& pages)
    {
        THistory entry;
        entry.StartEntry(when);
        for (qsizetype n = 0; n < pages.size(); ++n) {
            if (n > 0)
                ++entry.pageCount;
            entry.page.fill(pages[n]);
            entry.SavePage();
        }
        entry.lines = lines;
        EXPECT_TRUE(entry.SaveEntry());
        return entry;
    }

    // Opens the window, runs inside while it shows, closes it.
    void Open(const std::function<void()>& inside)
    {
        OnNextModal([&](QWidget*) {
            inside();
            window.reject();
        });
        window.exec();
    }

    // Selects the listed line that names oid.
    void Select(const QString& oid)
    {
        const auto found = window.lbhistory->findItems("ID: " + oid + ",", Qt::MatchStartsWith);
        ASSERT_EQ(found.size(), 1) << oid.toStdString();
        window.lbhistory->setCurrentItem(found.front());
    }

    QStringList Listed() const
    {
        QStringList lines;
        for (int row = 0; row < window.lbhistory->count(); ++row)
            lines << window.lbhistory->item(row)->text();
        return lines;
    }

    ScopedAppDir app;
    TProjectFixture f;
    Tfhistory& window = fhistory();
    const QDateTime first_ { QDate(2026, 12, 1), QTime(10, 0, 0) };
    const QDateTime second_ { QDate(2026, 12, 2), QTime(11, 30, 5) };
    const QStringList order_ { "oid=DL2612011", "date=2026-12-01 10:00:00", "price=1250", "payby=1", "deliverypost=0",
        "vat=0", "count=2", "rddata=a.jpg|1|10x15|50", "rddata=b.jpg|2|13x18|120" };
};

TEST_F(HistoryWindowTest, ListsReadableEntriesAndShowsAlignedDetails)
{
    Write(first_, order_, { qRgb(220, 0, 0) });
    Write(second_, { "oid=DL2612022", "date=2026-12-02 11:30:05" }, { qRgb(0, 0, 220) });
    ASSERT_TRUE(WriteFileBytes(app.Path("history/zly_hist.dat"), QByteArray("\x10\0\0\0VD: history fil!", 20)));
    QStringList listed, details;
    int labelWidth = 0;
    QImage drawn, picture;
    QString status;
    Open([&] {
        listed = Listed();
        Select("DL2612011");
        for (int row = 0; row < window.lbdet->count(); ++row)
            details << window.lbdet->item(row)->text();
        labelWidth = window.labelWidth;
        QCoreApplication::processEvents(); // the list lays its new lines out
        drawn = window.lbdet->viewport()->grab().toImage();
        picture = window.Image1->Picture();
        status = window.slpage->Status();
    });
    listed.sort();
    EXPECT_EQ(listed,
        (QStringList { "ID: DL2612011, data: 2026-12-01 10:00:00", "ID: DL2612022, data: 2026-12-02 11:30:05" }));
    EXPECT_EQ(window.paths.size(), 2);
    ASSERT_EQ(details.size(), 24);
    EXPECT_EQ(details.front(), "ID:DL2612011");
    EXPECT_EQ(details[6], QStringLiteral("Cena:12.50 zł*").replace('.', QLocale().decimalPoint()));
    EXPECT_EQ(details[12], "Faktura VAT: 0");
    EXPECT_EQ(details[19], QStringLiteral("Dostawa:Odbiór osobisty."));
    EXPECT_EQ(details[20], QStringLiteral("Rodzaj płatności:Gotówka"));
    EXPECT_EQ(details.mid(22), (QStringList { "a.jpg:10x15, 1 szt.", "b.jpg:13x18, 2 szt." }));
    QFont bold = window.lbdet->font();
    bold.setBold(true);
    EXPECT_EQ(labelWidth, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Rodzaj płatności")));
    EXPECT_EQ(picture.size(), QSize(800, 600));
    EXPECT_TRUE(Near(picture.pixel(400, 300), qRgb(220, 0, 0)));
    EXPECT_EQ(status, "1 / 1");

    // Every value starts at the same column, 5 pixels right of the widest label: the gap is
    // blank on every row and each value ("DL...", "Gotówka", "10x15") has ink right after it.
    const int valueX = 2 + labelWidth + 5;
    for (int row : { 0, 20, 22 }) {
        const QRect line = window.lbdet->visualItemRect(window.lbdet->item(row));
        bool gapInk = false, valueInk = false;
        for (int y = line.top(); y <= line.bottom(); ++y) {
            for (int x = valueX - 4; x < valueX; ++x)
                gapInk = gapInk || Dark(drawn.pixel(x, y));
            for (int x = valueX; x < valueX + 4; ++x)
                valueInk = valueInk || Dark(drawn.pixel(x, y));
        }
        EXPECT_FALSE(gapInk) << row;
        EXPECT_TRUE(valueInk) << row;
    }
}

TEST_F(HistoryWindowTest, OpensOnTheNewestEntryInView)
{
    for (int i = 0; i < 30; ++i)
        Write(first_.addSecs(i * 3600), { QStringLiteral("oid=E%1").arg(i), "date=2026-12-01 00:00:00" },
            { qRgb(220, 0, 0) });
    // The latest order is the entry the folder lists last, out of sight below the others.
    const std::vector<THistoryListing> listed = ListHistoryEntries(HistoryFolder());
    ASSERT_EQ(listed.size(), 30u);
    THistory newest;
    ASSERT_TRUE(newest.LoadEntry(listed.back().path));
    newest.lines = QStringList { "oid=NOWE", "date=2026-12-24 18:00:00" };
    ASSERT_TRUE(newest.SaveEntry());
    int current = -1;
    bool inView = false;
    QString firstDetail, status;
    Open([&] {
        current = window.lbhistory->currentRow();
        QCoreApplication::processEvents();
        const QRect line = window.lbhistory->visualItemRect(window.lbhistory->item(29));
        inView = window.lbhistory->viewport()->rect().contains(line);
        firstDetail = window.lbdet->count() > 0 ? window.lbdet->item(0)->text() : QString();
        status = window.slpage->Status();
    });
    EXPECT_EQ(current, 29);
    EXPECT_TRUE(inView);
    EXPECT_EQ(firstDetail, "ID:NOWE");
    EXPECT_EQ(status, "1 / 1");
}

TEST_F(HistoryWindowTest, LongValuesScrollIntoViewWhole)
{
    const QString bank = QStringLiteral("PL61 1090 1014 0000 0712 1981 2874 0000 1111 2222 3333 4444 5555 6666 7777");
    Write(first_, { "oid=DL2612011", "date=2026-12-01 10:00:00", "shopbank=" + bank }, { qRgb(220, 0, 0) });
    int needed = 0, reach = 0, visible = 0;
    bool endInk = false;
    const QSize size = window.size();
    Open([&] {
        window.resize(window.minimumSize());
        QCoreApplication::processEvents();
        QListWidget* list = window.lbdet;
        const auto rows = list->findItems("konto:", Qt::MatchStartsWith);
        ASSERT_EQ(rows.size(), 1);
        needed = 2 + window.labelWidth + 5 + list->fontMetrics().horizontalAdvance(bank);
        visible = list->viewport()->width();
        reach = list->horizontalScrollBar()->maximum() + visible;
        list->scrollToItem(rows.front());
        list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
        QCoreApplication::processEvents();
        const QRect line = list->visualItemRect(rows.front());
        const QImage drawn = list->viewport()->grab().toImage();
        // The account number's last digits, drawn inside the list.
        const int end = line.left() + needed;
        for (int y = std::max(0, line.top()); y <= std::min(line.bottom(), drawn.height() - 1); ++y)
            for (int x = std::max(0, end - 8); x < std::min(end, drawn.width()); ++x)
                endInk = endInk || Dark(drawn.pixel(x, y));
    });
    window.resize(size);
    EXPECT_GT(needed, visible) << "the number is wider than its list";
    EXPECT_GE(reach, needed);
    EXPECT_TRUE(endInk);
}

TEST_F(HistoryWindowTest, PagesWrapRoundAndMissingOrDamagedPagesShowAsTheyShould)
{
    const QRgb red = qRgb(220, 0, 0), green = qRgb(0, 200, 0), blue = qRgb(0, 0, 220);
    const THistory entry = Write(first_, order_, { red, green, blue });
    QStringList seen;
    QImage shown;
    QSize damaged;
    Open([&] {
        Select("DL2612011");
        const auto step = [&](TGradientButton* button) {
            button->click();
            const QImage picture = window.Image1->Picture();
            const QRgb centre = picture.pixel(picture.width() / 2, picture.height() / 2);
            seen << window.slpage->Status() + (Near(centre, red) ? " red" : Near(centre, green) ? " green" : " blue");
        };
        step(window.bprev); // from page 1 back to 3
        step(window.bnext); // from 3 on to 1
        step(window.bnext);
        shown = window.Image1->grab().toImage();
        ASSERT_TRUE(QFile::remove(entry.PagePath(3)));
        step(window.bnext); // missing: page 2 stays on screen
        ASSERT_TRUE(WriteFileBytes(entry.PagePath(1), "\xFF\xD8 damaged"));
        window.bnext->click();
        damaged = window.Image1->Picture().size();
        seen << window.slpage->Status();
    });
    EXPECT_EQ(seen, (QStringList { "3 / 3 blue", "1 / 3 red", "2 / 3 green", "3 / 3 green", "1 / 3" }));
    EXPECT_EQ(damaged, QSize(100, 100)) << "the picture reading \"Błąd !\"";
    // The page is scaled to fit the picture control and centred: its middle is the page's
    // colour, and the band the 4:3 page leaves free is not.
    ASSERT_FALSE(shown.isNull());
    EXPECT_TRUE(Near(shown.pixel(shown.width() / 2, shown.height() / 2), green));
    const bool wide = shown.width() * 3 > shown.height() * 4;
    EXPECT_FALSE(Near(wide ? shown.pixel(1, shown.height() / 2) : shown.pixel(shown.width() / 2, 1), green));
}

TEST_F(HistoryWindowTest, FortyEightAndFortyNinePhotosPageBothWays)
{
    for (const int photos : { 48, 49 }) {
        THistory entry;
        entry.StartEntry(first_.addSecs(photos));
        QImage photo(300, 200, QImage::Format_ARGB32);
        photo.fill(qRgb(220, 0, 0));
        for (int i = 0; i < photos; ++i)
            entry.AddThumbnail(photo);
        entry.lines = QStringList { QStringLiteral("oid=P%1").arg(photos), "date=2026-12-01" };
        entry.SavePage();
        ASSERT_TRUE(entry.SaveEntry());
        QStringList seen;
        Open([&] {
            Select(QStringLiteral("P%1").arg(photos));
            for (TGradientButton* button : { window.bprev, window.bprev, window.bnext }) {
                button->click();
                const QImage page = window.Image1->Picture();
                // The first cell of the page, and the last cell (705, 505).
                seen << window.slpage->Status() + (Near(page.pixel(50, 50), qRgb(220, 0, 0)) ? " first" : "")
                        + (Near(page.pixel(750, 550), qRgb(220, 0, 0)) ? " last" : "");
            }
        });
        const QString second = photos == 48 ? "2 / 2" : "2 / 2 first";
        EXPECT_EQ(seen, (QStringList { second, "1 / 2 first last", second })) << photos;
        ASSERT_TRUE(DeleteHistoryEntry(entry, entry.EntryPath()));
    }
}

TEST_F(HistoryWindowTest, DeletingWarnsWithoutSelectionAndAsksBeforeDeleting)
{
    const THistory doomed = Write(first_, order_, { qRgb(220, 0, 0), qRgb(0, 200, 0) });
    const THistory kept = Write(second_, { "oid=DL2612022", "date=2026-12-02 11:30:05" }, { qRgb(0, 0, 220) });
    const QString warning = QStringLiteral("Zaznacz pozycje w historii aby usunąć !");
    const QString question = QStringLiteral("Usunąć wybraną pozycję ?");
    QList<TShownDialog> shown;
    QStringList afterNo, afterYes;
    int detailsLeft = -1;
    bool pictureLeft = true;
    QString status;
    Open([&] {
        TDialogAnswers answers { { kButtonOk }, { kButtonNo }, { kButtonOk } };
        window.lbhistory->clearSelection(); // the window opened on the newest entry
        window.bdeleteClick(); // nothing selected
        Select("DL2612011");
        window.bdeleteClick(); // "NIE"
        afterNo = Listed();
        window.bdeleteClick(); // "OK"
        afterYes = Listed();
        detailsLeft = window.lbdet->count();
        pictureLeft = !window.Image1->Picture().isNull();
        status = window.slpage->Status();
        window.bnextClick(); // no entry: nothing to page
        shown = answers.Shown();
    });
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].text, warning);
    EXPECT_EQ(shown[0].icon, diExclamation);
    EXPECT_EQ(shown[1].text, question);
    EXPECT_EQ(shown[2].text, question);
    EXPECT_EQ(afterNo.size(), 2);
    EXPECT_EQ(afterYes, QStringList { "ID: DL2612022, data: 2026-12-02 11:30:05" });
    EXPECT_EQ(window.paths, QStringList { kept.EntryPath() });
    EXPECT_EQ(detailsLeft, 0);
    EXPECT_FALSE(pictureLeft);
    EXPECT_EQ(status, "");
    QStringList files = QDir(HistoryFolder()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList { kept.id + "_1.jpg", kept.id + "_hist.dat" }));
    EXPECT_FALSE(QFile::exists(doomed.PagePath(2)));
}

TEST_F(HistoryWindowTest, AnEntryThatNoLongerReadsShowsNothingAndCannotTakeAnotherWithIt)
{
    const THistory shown = Write(first_, order_, { qRgb(220, 0, 0) });
    const THistory spoilt = Write(second_, { "oid=DL2612022", "date=2026-12-02 11:30:05" }, { qRgb(0, 0, 220) });
    int details = -1;
    QString status;
    QList<TShownDialog> dialogs;
    Open([&] {
        Select("DL2612011");
        ASSERT_TRUE(WriteFileBytes(spoilt.EntryPath(), "damaged after listing"));
        Select("DL2612022");
        details = window.lbdet->count();
        status = window.slpage->Status();
        TDialogAnswers answers { { kButtonOk } };
        window.bdeleteClick();
        dialogs = answers.Shown();
    });
    EXPECT_EQ(details, 0) << "not the details of the entry selected before";
    EXPECT_EQ(status, "");
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0].text, QStringLiteral("Zaznacz pozycje w historii aby usunąć !"));
    EXPECT_TRUE(QFile::exists(shown.EntryPath()));
    EXPECT_TRUE(QFile::exists(shown.PagePath(1)));
}

TEST_F(HistoryWindowTest, ListsDrawInTheSkinColours)
{
    Write(first_, order_, { qRgb(220, 0, 0) });
    Write(second_, { "oid=DL2612022", "date=2026-12-02 11:30:05" }, { qRgb(0, 0, 220) });
    const QColor background(250, 240, 200);
    window.SetListColors(background, Qt::black);
    QImage drawn;
    QRect selectedLine, otherLine;
    Open([&] {
        Select("DL2612022");
        selectedLine = window.lbhistory->visualItemRect(window.lbhistory->currentItem());
        otherLine = window.lbhistory->visualItemRect(window.lbhistory->item(1 - window.lbhistory->currentRow()));
        drawn = window.lbhistory->viewport()->grab().toImage();
    });
    EXPECT_EQ(QColor(drawn.pixel(selectedLine.right() - 2, selectedLine.center().y())), f.skinner.GetColor("selected"));
    EXPECT_EQ(QColor(drawn.pixel(otherLine.right() - 2, otherLine.center().y())), background);
}

} // namespace

namespace {

TEST_F(HistoryWindowTest, BrowsedFromTheKeyboardAlone)
{
    // Two entries: the keys move from the one the list starts on to the other.
    Write(first_, order_, { qRgb(220, 0, 0), qRgb(0, 220, 0) });
    Write(second_, order_, { qRgb(220, 0, 0), qRgb(0, 220, 0) });
    const TKeyboardVisit visit = VisitByKeyboard(&window, [&] { window.exec(); }, { Qt::Key_Escape });
    EXPECT_EQ(visit.focused, "lbhistory");
    EXPECT_EQ(visit.tabs, (QStringList { "lbdet", "bprev", "bnext", "bdelete" }));
    EXPECT_TRUE(visit.closed) << "Escape closes";

    QString before, after;
    int details = 0;
    OnNextModal([&](QWidget*) {
        PressKey(&window, Qt::Key_End);
        details = window.lbdet->count();
        before = window.slpage->Status();
        for (int i = 0; i < 3; ++i)
            PressKey(&window, Qt::Key_Tab); // "następna"
        PressKey(&window, Qt::Key_Return);
        after = window.slpage->Status();
        window.reject();
    });
    window.exec();
    EXPECT_GT(details, 0) << "the entry chosen by the keys shows";
    EXPECT_NE(after, before) << "Enter on a button presses it";
}

} // namespace
