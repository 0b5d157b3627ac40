#include "editing/upreview.h"

#include "core/coreobjects.h"
#include "editing/imageview.h"
#include "editing/previewtext.h"
#include "project/uvdimage.h"
#include "ui/designfonts.h"
#include "ui/gradientbutton.h"
#include "ui/keyboardwindow.h"
#include "ui/mousedpanel.h"
#include "ui/windowparts.h"

#include <QApplication>
#include <QScopeGuard>

namespace {

constexpr int kBarHeight = 37;

TGradientButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x)
{
    return MakeTextButton(parent, name, caption, QRect(x, 6, 90, 25));
}

} // namespace

Tfpreview::Tfpreview(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fpreview"));
    setWindowTitle(QStringLiteral("Podgląd ..."));
    setFont(DesignFont(QStringLiteral("Tahoma"), 8));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    setModal(true);
    resize(651, 605);

    Panel1 = new TMousedPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    b100 = MakeButton(Panel1, "b100", QStringLiteral("100 %"), 8);
    bfit = MakeButton(Panel1, "bfit", QStringLiteral("dopasuj"), 104);
    bclose = MakeButton(Panel1, "bclose", QStringLiteral("zamknij"), 200);
    view = new TImageView(this);

    connect(b100, &TGradientButton::OnClick, this, [this] { view->SetScale(1.0); });
    connect(bfit, &TGradientButton::OnClick, this, [this] { view->SetScale(view->FitScale()); });
    connect(bclose, &TGradientButton::OnClick, this, &QDialog::reject);
    connect(
        view, &TImageView::WheelTurned, this, [this](int steps) { view->SetScale(WheelZoom(view->Scale(), steps)); });
    connect(view, &TImageView::ViewChanged, this, &Tfpreview::viewChange);
    SetDefaultButtons(this, { bclose });
    UseFromKeyboard(this, bclose);
}

void Tfpreview::ShowPreview(const QImage& picture)
{
    view->SetPicture(picture);
    view->SetScale(1.0);
    exec();
}

void Tfpreview::ShowPrint(int index)
{
    QImage picture;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        Core().vdimage->RenderOutput(index, picture);
    }
    ShowPreview(picture);
}

void Tfpreview::viewChange()
{
    setWindowTitle(PreviewCaption(view->Scale(), view->Picture().width(), view->Picture().height()));
}

void Tfpreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Panel1->setGeometry(0, 0, width(), kBarHeight);
    view->setGeometry(0, kBarHeight, width(), height() - kBarHeight);
}

void Tfpreview::done(int result)
{
    view->SetPicture(QImage()); // the window keeps no copy after it closes
    QDialog::done(result);
}
