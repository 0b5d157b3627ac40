#pragma once
// TStatusLabel: a caption and a status value on one line ("Cena zlecenia: 12.00 zł"), each
// in its own font and colour; both in the disabled font when the label is disabled.
#include <QColor>
#include <QFont>
#include <QWidget>

class TStatusLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString Status READ Status WRITE SetStatus)
    Q_PROPERTY(int StatusSpace READ StatusSpace WRITE SetStatusSpace)
    Q_PROPERTY(QFont CaptionFont READ CaptionFont WRITE SetCaptionFont)
    Q_PROPERTY(QColor CaptionFontColor READ CaptionFontColor WRITE SetCaptionFontColor)
    Q_PROPERTY(QFont StatusFont READ StatusFont WRITE SetStatusFont)
    Q_PROPERTY(QColor StatusFontColor READ StatusFontColor WRITE SetStatusFontColor)
    Q_PROPERTY(QFont DisabledFont READ DisabledFont WRITE SetDisabledFont)
    Q_PROPERTY(QColor DisabledFontColor READ DisabledFontColor WRITE SetDisabledFontColor)

public:
    explicit TStatusLabel(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    QString Status() const { return status_; }
    void SetStatus(const QString& status);
    int StatusSpace() const { return statusSpace_; }
    void SetStatusSpace(int space);
    QFont CaptionFont() const { return captionFont_; }
    void SetCaptionFont(const QFont& font);
    QColor CaptionFontColor() const { return captionFontColor_; }
    void SetCaptionFontColor(const QColor& color);
    QFont StatusFont() const { return statusFont_; }
    void SetStatusFont(const QFont& font);
    QColor StatusFontColor() const { return statusFontColor_; }
    void SetStatusFontColor(const QColor& color);
    QFont DisabledFont() const { return disabledFont_; }
    void SetDisabledFont(const QFont& font);
    QColor DisabledFontColor() const { return disabledFontColor_; }
    void SetDisabledFontColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString caption_ = QStringLiteral("Type:");
    QString status_ = QStringLiteral("StatusLabel");
    int statusSpace_ = 10;
    QFont captionFont_;
    QColor captionFontColor_;
    QFont statusFont_;
    QColor statusFontColor_;
    QFont disabledFont_;
    QColor disabledFontColor_;
};
