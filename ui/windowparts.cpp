#include "ui/windowparts.h"

#include "lab/vdengine.h"
#include "skin/syscolors.h"
#include "ui/gradientbutton.h"
#include "ui/hotlabel.h"
#include "ui/image.h"
#include "ui/pictures.h"
#include "ui/shellglyphs.h"
#include "ui/widgetcolors.h"

#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QScreen>

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = MakeNamed<TGradientButton>(parent, name, geometry);
    button->SetCaption(caption);
    return button;
}

TGradientButton* MakeGlyphButton(
    QWidget* parent, const char* name, const QString& caption, const char* glyph, const QRect& geometry)
{
    auto* button = MakeTextButton(parent, name, caption, geometry);
    button->SetGlyph(ShellGlyph(QLatin1String(glyph), 16));
    button->SetGlyphTransparent(true);
    return button;
}

QLabel* MakeCaptionedValue(
    QWidget* parent, const char* name, const QString& caption, const QRect& geometry, int captionWidth)
{
    auto* title = new QLabel(caption, parent);
    title->setObjectName(QLatin1String(name) + QLatin1String("_caption"));
    title->setGeometry(geometry.x(), geometry.y(), captionWidth, geometry.height());
    title->setTextFormat(Qt::PlainText);
    auto* value = MakeNamed<QLabel>(parent, name, geometry.adjusted(captionWidth + 4, 0, 0, 0));
    value->setTextFormat(Qt::PlainText);
    return value;
}

THotLabel* MakeLinkLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* link = MakeNamed<THotLabel>(parent, name, geometry);
    link->setCursor(Qt::PointingHandCursor);
    SetTextColor(link, SysColor(TSysColor::HotLight));
    link->SetHotFontColor(Qt::red);
    link->SetFocusable(true);
    return link;
}

void ShowLabContacts(const TLabContactLabels& labels, const TEngine& engine)
{
    labels.name->setText(engine.name);
    labels.owner->setText(engine.owner);
    labels.person->setText("Osoba kontaktowa: " + engine.person);
    labels.street->setText(engine.street);
    labels.city->setText(engine.city);
    labels.phone->setText(engine.phone);
    labels.email->setText(engine.email);
    labels.www->setText(engine.www);
}

void ShowSplashPicture(TImage* image)
{
    const QImage splash = SplashPicture();
    image->SetPicture(
        splash.isNull() ? splash : splash.scaled(image->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

namespace {

class TStarPasswordStyle : public QProxyStyle {
public:
    int styleHint(
        StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void MakePasswordEdit(QLineEdit* edit)
{
    auto* style = new TStarPasswordStyle;
    style->setParent(edit); // a widget's style is not owned by the widget
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}
