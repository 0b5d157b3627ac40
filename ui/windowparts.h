#pragma once
// Controls as the windows make them: named (the names the skins and tests address) and placed
// at fixed pixel positions.
#include <QRect>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class TEngine;
class TGradientButton;
class THotLabel;
class TImage;
class TMousedPanel;

// A control of type TControl named name, placed at geometry (when one is given).
template <typename TControl> TControl* MakeNamed(QWidget* parent, const char* name, const QRect& geometry = QRect())
{
    auto* control = new TControl(parent);
    control->setObjectName(QLatin1String(name));
    if (geometry.isValid())
        control->setGeometry(geometry);
    return control;
}

// The same, showing text: a label's, an edit's or a check box's.
template <typename TControl>
TControl* MakeNamedText(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* control = MakeNamed<TControl>(parent, name, geometry);
    control->setText(text);
    return control;
}

TGradientButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
// A text button with the shell glyph glyph (16 pixels, transparent) left of its caption.
TGradientButton* MakeGlyphButton(
    QWidget* parent, const char* name, const QString& caption, const char* glyph, const QRect& geometry);
// A value shown after its caption on one line ("Cena zlecenia:" 12.50 zł): the caption is a
// plain label captionWidth pixels wide at geometry's left, the returned value label named name
// takes the rest of geometry.
QLabel* MakeCaptionedValue(
    QWidget* parent, const char* name, const QString& caption, const QRect& geometry, int captionWidth);
// A link: a hot label in the system's link colour that turns red under the mouse or with the
// focus, with the pointing-hand cursor; a Tab stop that Enter and Space open.
THotLabel* MakeLinkLabel(QWidget* parent, const char* name, const QRect& geometry);
// The lab's name and contact lines as the about and provider windows show them.
struct TLabContactLabels {
    QLabel* name;
    QLabel* owner;
    QLabel* person; // "Osoba kontaktowa: " + person
    QLabel* street;
    QLabel* city;
    QLabel* phone;
    THotLabel* email;
    THotLabel* www;
};
void ShowLabContacts(const TLabContactLabels& labels, const TEngine& engine);
// The start-up picture scaled to fit image (nothing before start-up made one).
void ShowSplashPicture(TImage* image);
// Moves a window to the middle of its screen.
void CentreOnScreen(QWidget* window);

// A password edit: what is typed shows as "*", whatever the style would draw.
void MakePasswordEdit(QLineEdit* edit);
