#include "project/umain.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "lab/formats.h"
#include "lab/vdengine.h"
#include "platform/process.h"
#include "project/mainstatus.h"
#include "project/photofiles.h"
#include "project/projectevents.h"
#include "project/thumbview.h"
#include "project/uvdimage.h"
#include "project/windowplacement.h"
#include "ui/gradientbutton.h"
#include "ui/image.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/shellglyphs.h"
#include "ui/statuslabel.h"
#include "ui/ulog.h"
#include "ui/windowparts.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>

namespace {

constexpr int kDesignWidth = 708;
constexpr int kDesignHeight = 526;
constexpr int kTopBarHeight = 49;
constexpr int kLeftBarWidth = 148;
constexpr int kStatusBarHeight = 41;
constexpr int kTopButtonSize = 24;
constexpr int kTopButtonPitch = 28;
constexpr int kTopButtonLeft = 6;
constexpr int kLeftButtonWidth = 139;
constexpr int kLeftButtonHeight = 25;
constexpr int kLeftButtonPitch = 29;
constexpr int kLeftButtonTop = 8;
constexpr int kStatusMargin = 8;
constexpr int kStatusGap = 4; // after each status label, so a cut value never touches the next caption
constexpr int kMarkSize = 16;

// The left bar, top to bottom: action, button, glyph (none for the selection actions).
struct TLeftBarButton {
    const char* action;
    const char* button;
    const char* glyph;
};
constexpr TLeftBarButton kLeftBar[] = {
    { "aaddphotos", "lm_addphotos", "add" },
    { "aselall", "lm_selall", "" },
    { "aselinv", "lm_selinv", "" },
    { "aselnone", "lm_selnone", "" },
    { "adelete", "lm_delete", "delete" },
    { "aformat", "lm_format", "" },
    { "aquantity", "lm_quantity", "" },
    { "aeditphoto", "lm_editphoto", "edit" },
    { "acrop", "lm_crop", "crop" },
    { "asendorder", "lm_sendorder", "send" },
};

// The status bar's two lines: the focused photo (name, size) above, the project (count,
// format, price) below. Each label takes fifths of its line and, at the window's minimum
// size, holds its caption and the sample value.
struct TStatusSlot {
    TStatusLabel* Tfmain::*label;
    int line;
    int fifths;
    const char* sample;
};
const TStatusSlot kStatusSlots[] = {
    { &Tfmain::slphoto, 0, 2, "IMG_20240101_120000.jpg" },
    { &Tfmain::slsize, 0, 3, "10000 x 10000 px, 84.7 x 84.7 cm" },
    { &Tfmain::slcount, 1, 1, "99(999)" },
    { &Tfmain::slformat, 1, 2, "30x45 - 15.00 zł" },
    { &Tfmain::slprice, 1, 2, "999.99 zł (~ 999.99 zł)" },
};

TMousedPanel* MakePanel(QWidget* parent, const char* name)
{
    return MakeNamed<TMousedPanel>(parent, name);
}

TStatusLabel* MakeStatusLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = MakeNamed<TStatusLabel>(parent, name);
    label->SetCaption(caption);
    label->SetStatus(QString());
    return label;
}

TImage* MakeHiddenPicture(QWidget* parent, const char* name, const QImage& picture)
{
    auto* image = MakeNamed<TImage>(parent, name);
    image->SetPicture(picture);
    image->hide();
    return image;
}

// Lays out the buttons whose actions are visible, one after the other.
void PackButtons(const QList<TGradientButton*>& buttons, QPoint at, QPoint step)
{
    for (TGradientButton* button : buttons) {
        if (!button->Action()->isVisible())
            continue;
        button->move(at);
        at += step;
    }
}

} // namespace

Tfmain::Tfmain(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fmain"));
    resize(kDesignWidth, kDesignHeight);
    move(screen()->availableGeometry().center() - rect().center());
    setCentralWidget(new QWidget(this));

    anewproject = MakeAction("anewproject", QStringLiteral("Nowy projekt"), &Tfmain::anewprojectExecute);
    aaddphotos = MakeAction("aaddphotos", QStringLiteral("Dodaj zdjęcia ..."), &Tfmain::aaddphotosExecute);
    adelete = MakeAction("adelete", QStringLiteral("Usuń"), &Tfmain::adeleteExecute);
    arename = MakeAction("arename", QStringLiteral("Zmień nazwę"), &Tfmain::arenameExecute);
    aquantity = MakeAction("aquantity", QStringLiteral("Ilość odbitek ..."), &Tfmain::aquantityExecute);
    areset = MakeAction("areset", QStringLiteral("Przywróć oryginał"), &Tfmain::aresetExecute);
    aeditphoto = MakeAction("aeditphoto", QStringLiteral("Edytuj zdjęcie"), &Tfmain::aeditphotoExecute);
    acrop = MakeAction("acrop", QStringLiteral("Kadruj/obróć"), &Tfmain::acropExecute);
    aformat = MakeAction("aformat", QStringLiteral("Format"), &Tfmain::aformatExecute);
    apreview = MakeAction("apreview", QStringLiteral("Podgląd końcowy ..."), &Tfmain::apreviewExecute);
    aselall = MakeAction("aselall", QStringLiteral("Zaznacz wszystko"), &Tfmain::aselallExecute);
    aselinv = MakeAction("aselinv", QStringLiteral("Odwróć zaznaczenie"), &Tfmain::aselinvExecute);
    aselnone = MakeAction("aselnone", QStringLiteral("Usuń zaznaczenie"), &Tfmain::aselnoneExecute);
    afullscreen = MakeAction("afullscreen", QStringLiteral("Pełen ekran ..."), &Tfmain::afullscreenExecute);
    asendorder = MakeAction("asendorder", QStringLiteral("Wyślij zlecenie ..."), &Tfmain::asendorderExecute);
    asettings = MakeAction("asettings", QStringLiteral("Ustawienia ..."), &Tfmain::asettingsExecute);
    ahistory = MakeAction("ahistory", QStringLiteral("Historia zamówień ..."), nullptr);
    aprovider = MakeAction("aprovider", QStringLiteral("Dostawca / zlecenie ..."), nullptr);
    avirtual = MakeAction("avirtual", QStringLiteral("Konto wirtualne ..."), nullptr);
    atip = MakeAction("atip", QStringLiteral("Porada na dziś ..."), nullptr);
    aabout = MakeAction("aabout", QStringLiteral("O programie ..."), nullptr);
    asave = MakeAction("asave", QStringLiteral("Zapisz..."), nullptr);
    alog = MakeAction("alog", QStringLiteral("LOG"), &Tfmain::alogExecute);
    aexit = MakeAction("aexit", QStringLiteral("Koniec"), &Tfmain::aexitExecute);
    afullscreen->setCheckable(true);

    linkActions_ = { { TMainLink::EditPhoto, aeditphoto }, { TMainLink::CropPhoto, acrop },
        { TMainLink::SendOrder, asendorder }, { TMainLink::Settings, asettings }, { TMainLink::History, ahistory },
        { TMainLink::Provider, aprovider }, { TMainLink::Virtual, avirtual }, { TMainLink::Tip, atip },
        { TMainLink::About, aabout }, { TMainLink::Save, asave } };
    for (const auto& [link, action] : linkActions_) {
        action->setVisible(false); // until its window attaches
        if (link == TMainLink::History || link == TMainLink::Provider || link == TMainLink::Virtual
            || link == TMainLink::Tip || link == TMainLink::About || link == TMainLink::Save)
            connect(action, &QAction::triggered, this, [this, link = link] { OpenAttached(link); });
    }

    BuildTopBar();
    BuildLeftBar();
    BuildStatusBar();
    BuildGrid();
    // A button appears or goes with its action's visibility; the rest close up. Every action
    // ends with UpdateStatus, whichever way its handler returned (connected after the
    // handlers, so it runs last).
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        connect(action, &QAction::changed, this, &Tfmain::LayOutBars);
        connect(action, &QAction::triggered, this, &Tfmain::UpdateStatus);
    }

    od = new QFileDialog(this);
    od->setObjectName(QStringLiteral("od"));
    od->setFileMode(QFileDialog::ExistingFiles);
    od->setNameFilters(PhotoFileFilters());
    od->setOption(QFileDialog::ReadOnly, false);
    od->setSizeGripEnabled(true);

    // The grid holds the focus; Tab reaches the bars' buttons, where Enter runs the action.
    UseFromKeyboard(this, draw);
    FormCreate();
}

Tfmain::~Tfmain()
{
    // The buttons are hidden while QWidget destroys them, and a hot one then clears the hint:
    // on a window whose own part is gone by then.
    for (TGradientButton* button : topButtons_)
        button->disconnect(this);
}

QAction* Tfmain::MakeAction(const char* name, const QString& caption, void (Tfmain::*handler)())
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (handler)
        connect(action, &QAction::triggered, this, handler);
    return action;
}

void Tfmain::BuildTopBar()
{
    MousedPanel1 = MakePanel(centralWidget(), "MousedPanel1");
    for (const TTopBarButton& entry : TopBarButtons()) {
        auto* button = MakeNamed<TGradientButton>(MousedPanel1, entry.button);
        button->resize(kTopButtonSize, kTopButtonSize);
        button->SetGlyph(ShellGlyph(QLatin1String(entry.glyph), kTopButtonSize - 4));
        button->SetGlyphTransparent(true);
        button->setFocusPolicy(Qt::TabFocus); // a click leaves the focus on the grid
        QAction* action = findChild<QAction*>(QLatin1String(entry.action), Qt::FindDirectChildrenOnly);
        button->SetAction(action);
        connect(button, &TGradientButton::OnMouseEnter, this, [this, action] { ShowHint(action->text()); });
        connect(button, &TGradientButton::OnMouseLeave, this, [this] { ShowHint(QString()); });
        topButtons_ << button;
    }
    lhint = MakeNamed<QLabel>(MousedPanel1, "lhint");
}

void Tfmain::BuildLeftBar()
{
    MousedPanel3 = MakePanel(centralWidget(), "MousedPanel3");
    for (const TLeftBarButton& entry : kLeftBar) {
        auto* button = MakeNamed<TGradientButton>(MousedPanel3, entry.button);
        button->resize(kLeftButtonWidth, kLeftButtonHeight);
        button->SetAlignment(Qt::AlignLeft);
        button->SetUseActionCaption(true);
        if (*entry.glyph) {
            button->SetGlyph(ShellGlyph(QLatin1String(entry.glyph), kMarkSize));
            button->SetGlyphTransparent(true);
        }
        button->setFocusPolicy(Qt::TabFocus); // a click leaves the focus on the grid
        button->SetAction(findChild<QAction*>(QLatin1String(entry.action), Qt::FindDirectChildrenOnly));
        leftButtons_ << button;
    }
}

void Tfmain::BuildStatusBar()
{
    MousedPanel2 = MakePanel(centralWidget(), "MousedPanel2");
    slphoto = MakeStatusLabel(MousedPanel2, "slphoto", QStringLiteral("Zdjęcie:"));
    slcount = MakeStatusLabel(MousedPanel2, "slcount", QStringLiteral("Ilość zdjęć:"));
    slsize = MakeStatusLabel(MousedPanel2, "slsize", QStringLiteral("Wymiary:"));
    slformat = MakeStatusLabel(MousedPanel2, "slformat", QStringLiteral("Format:"));
    slprice = MakeStatusLabel(MousedPanel2, "slprice", QStringLiteral("Cena zlecenia:"));
}

void Tfmain::BuildGrid()
{
    ScrollBox1 = new QScrollArea(centralWidget());
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded); // UpdateScrollRange decides
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setFocusPolicy(Qt::NoFocus); // the grid inside takes the keys
    draw = new TThumbView(ScrollBox1);
    ScrollBox1->setWidget(draw);
    ScrollBox1->setWidgetResizable(false);

    ilocked = MakeHiddenPicture(this, "ilocked", ShellGlyph(QStringLiteral("refresh"), kMarkSize));
    igran = MakeHiddenPicture(this, "igran", ShellGlyph(QStringLiteral("exclamation"), kMarkSize));
    isplash = MakeHiddenPicture(this, "isplash", QImage());
    draw->SetPictures(ilocked, igran, isplash);

    connect(draw, &TThumbView::SelectionChanged, this, &Tfmain::UpdateStatus);
    // The pending thumbnails are remade with the wait window's progress.
    connect(&ProjectEvents(), &TProjectEvents::ThumbnailsPending, this, &Tfmain::RegenerateThumbnails);
    connect(&ProjectEvents(), &TProjectEvents::Changed, this, &Tfmain::UpdateStatus);
    connect(draw, &TThumbView::DeletePressed, this, [this] {
        if (adelete->isEnabled())
            adelete->trigger();
    });
    connect(draw, &TThumbView::OpenPressed, this, [this] {
        if (aeditphoto->isVisible() && aeditphoto->isEnabled())
            aeditphoto->trigger();
    });
    connect(draw, &TThumbView::FilesDropped, this, &Tfmain::OpenPaths);
}

void Tfmain::FormCreate()
{
    asave->setVisible(false);
    alog->setVisible(HasSwitch(QStringLiteral("-log")));
}

void Tfmain::SetLogWindow(Tflog* log)
{
    logWindow_ = log;
}

void Tfmain::AttachWindow(TMainLink link, std::function<int()> open)
{
    links_[link] = std::move(open);
    if (const auto found = linkActions_.find(link); found != linkActions_.end() && link != TMainLink::Save)
        found->second->setVisible(true);
}

int Tfmain::OpenAttached(TMainLink link)
{
    const auto found = links_.find(link);
    return found != links_.end() ? found->second() : 0;
}

void Tfmain::LayOutBars()
{
    const QWidget* area = centralWidget();
    const int width = area->width(), height = area->height();
    MousedPanel1->setGeometry(0, 0, width, kTopBarHeight);
    MousedPanel3->setGeometry(0, kTopBarHeight, kLeftBarWidth, height - kTopBarHeight - kStatusBarHeight);
    MousedPanel2->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
    ScrollBox1->setGeometry(kLeftBarWidth, kTopBarHeight, std::max(width - kLeftBarWidth, 0),
        std::max(height - kTopBarHeight - kStatusBarHeight, 0));
    PackButtons(topButtons_, QPoint(kTopButtonLeft, 4), QPoint(kTopButtonPitch, 0));
    lhint->setGeometry(kTopButtonLeft, 4 + kTopButtonSize + 3, std::max(width - 2 * kTopButtonLeft, 0),
        kTopBarHeight - kTopButtonSize - 9);
    PackButtons(leftButtons_, QPoint(4, kLeftButtonTop), QPoint(0, kLeftButtonPitch));
    LayOutStatusBar();
    UpdateScrollRange();
}

void Tfmain::LayOutStatusBar()
{
    const int width = MousedPanel2->width() - 2 * kStatusMargin;
    // The two lines share the whole bar inside its bevel, so no empty band is left below them.
    const int bevel = MousedPanel2->BevelWidth();
    const int inner = kStatusBarHeight - 2 * bevel;
    const int lineTop[2] = { bevel, bevel + inner / 2 };
    const int lineHeight[2] = { inner / 2, inner - inner / 2 };
    int taken[2] = { 0, 0 }; // fifths of each line already laid out
    for (const TStatusSlot& slot : kStatusSlots) {
        const int left = width * taken[slot.line] / 5;
        taken[slot.line] += slot.fifths;
        const int right = width * taken[slot.line] / 5;
        (this->*slot.label)
            ->setGeometry(kStatusMargin + left, lineTop[slot.line], right - left - kStatusGap, lineHeight[slot.line]);
    }
}

QSize Tfmain::MinimumLayoutSize() const
{
    // Every left button above the status bar, every top button in the bar and each status
    // label wide enough for its caption and a long value (which leaves room for a column of
    // thumbnails of the sizes the settings window allows).
    const int height = kTopBarHeight + kLeftButtonTop + int(std::size(kLeftBar)) * kLeftButtonPitch + kStatusBarHeight;
    int width = 2 * kTopButtonLeft + int(TopBarButtons().size()) * kTopButtonPitch;
    for (const TStatusSlot& slot : kStatusSlots) {
        const TStatusLabel* label = this->*slot.label;
        const int needed = QFontMetrics(label->CaptionFont()).horizontalAdvance(label->Caption()) + label->StatusSpace()
            + QFontMetrics(label->StatusFont()).horizontalAdvance(QString::fromUtf8(slot.sample));
        width = std::max(width, ((needed + kStatusGap) * 5 + slot.fifths - 1) / slot.fifths + 2 * kStatusMargin);
    }
    return { width, height };
}

void Tfmain::ShowHint(const QString& hint)
{
    lhint->setText(hint);
}

void Tfmain::UpdateStatus()
{
    const TCoreObjects& core = Core();
    if (!core.vdimage || !core.formats || !core.engine)
        return; // before start-up built the core, or after shut-down
    const TMainStatus status = ComputeMainStatus(*core.vdimage, *core.formats, *core.engine);
    slphoto->SetStatus(status.photo);
    slcount->SetStatus(status.count);
    slsize->SetStatus(status.size);
    slformat->SetStatus(status.format);
    slprice->SetStatus(status.price);
    asendorder->setEnabled(status.sendOrder);
    adelete->setEnabled(status.deleteSelected);
    for (QAction* action : { aformat, asave, aselinv })
        action->setEnabled(status.anyPhoto);
    for (QAction* action : { arename, aeditphoto, acrop, apreview, aquantity, areset })
        action->setEnabled(status.focused);
    aselall->setEnabled(status.selectAll);
    aselnone->setEnabled(status.selectNone);
}

void Tfmain::RepaintCell(int index)
{
    draw->RepaintCell(index);
}

void Tfmain::RepaintGrid()
{
    draw->update();
}

int Tfmain::HitTest(int x, int y) const
{
    return draw->HitTest(x, y);
}

void Tfmain::UpdateScrollRange()
{
    draw->UpdateScrollRange();
}

void Tfmain::AfterProjectChange()
{
    UpdateScrollRange();
    RepaintGrid();
    UpdateStatus();
}

void Tfmain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    setMinimumSize(MinimumLayoutSize()); // the skin has set the fonts by now
    ShowHint(QString());
    UpdateScrollRange(); // the cell size is known once the configuration is loaded
    RepaintGrid();
    UpdateStatus();
}

void Tfmain::ShowPlaced()
{
    const TConfig* config = Core().config;
    std::optional<QRect> left;
    if (config && config->windowwidth > 0 && config->windowheight > 0)
        left = QRect(config->windowleft, config->windowtop, config->windowwidth, config->windowheight);
    const QScreen* screen = left ? QGuiApplication::screenAt(left->center()) : nullptr;
    if (!screen)
        screen = this->screen();
    setMinimumSize(MinimumLayoutSize());
    setGeometry(OpeningGeometry(left, screen->availableGeometry(), minimumSize()));
    if (config && config->windowmaximized)
        showMaximized();
    else
        show();
}

void Tfmain::RememberPlacement() const
{
    TConfig* config = Core().config;
    if (!config)
        return;
    // The normal place also of a maximised or full-screen window, so it comes back to it.
    const QRect normal = isFullScreen() && windowRect_.isValid() ? windowRect_ : normalGeometry();
    if (normal.isValid()) {
        config->windowleft = normal.x();
        config->windowtop = normal.y();
        config->windowwidth = normal.width();
        config->windowheight = normal.height();
    }
    config->windowmaximized = isMaximized() && !isFullScreen();
}

void Tfmain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayOutBars();
}

void Tfmain::afullscreenExecute()
{
    TGradientButton* button = findChild<TGradientButton*>(QStringLiteral("tp_fullscreen"));
    if (!isFullScreen()) {
        windowRect_ = geometry();
        showFullScreen();
        button->SetSelected(true);
    } else {
        showNormal();
        setGeometry(windowRect_);
        button->SetSelected(false);
    }
    afullscreen->setChecked(isFullScreen());
}

void Tfmain::alogExecute()
{
    if (logWindow_)
        logWindow_->setVisible(!logWindow_->isVisible());
}

void Tfmain::closeEvent(QCloseEvent* event)
{
    // The window's close box asks like "Koniec" while the project holds photos; a close the
    // program makes itself ("Koniec" once answered, a termination signal) is not spontaneous.
    const TVDImage* project = Core().vdimage;
    if (event->spontaneous() && project && project->Count() > 0 && !ConfirmExit()) {
        event->ignore();
        return;
    }
    if (adding_) { // the adding loop still uses the project: it stops first, then the window closes
        closeWhenAdded_ = true;
        event->ignore();
        return;
    }
    event->accept();
    RememberPlacement();
    Q_EMIT Closed();
}
