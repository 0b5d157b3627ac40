#include "ui/ulog.h"

#include "core/log.h"

#include <QEvent>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QStringList>

#include <stdexcept>

namespace {

// The exception the "crash" command raises so that the unhandled-exception path can be tried.
class ELogCrash : public std::runtime_error {
public:
    ELogCrash()
        : std::runtime_error("LOG-CRASH")
    {
    }
};

} // namespace

Tflog::Tflog(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("flog"));
    setWindowTitle(QStringLiteral("LOG"));
    resize(453, 392);

    lblog = new QListWidget(this);
    lblog->setObjectName(QStringLiteral("lblog"));
    lblog->setGeometry(rect());
    lblog->setUniformItemSizes(true);
    lblog->setStyleSheet(QStringLiteral("QListWidget { background: black; color: white; }"
                                        "QListWidget::item { height: 11px; padding: 0; }"));
    QFont font(QStringLiteral("Lucida Console"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(10);
    lblog->setFont(font);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(64, 208, 329, Edit1->sizeHint().height());
    Edit1->installEventFilter(this);
    connect(Edit1, &QLineEdit::returnPressed, this, &Tflog::Edit1KeyPress);

    LogStore().SetListener([this] {
        if (isVisible()) {
            SyncLines();
            ScrollToEnd();
        }
    });
}

Tflog::~Tflog()
{
    LogStore().SetListener({});
}

void Tflog::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    lblog->setGeometry(rect());
    SyncLines();
    ScrollToEnd();
}

void Tflog::SyncLines()
{
    const QStringList& lines = LogStore().Lines();
    if (lblog->count() > lines.size())
        lblog->clear();
    for (qsizetype i = lblog->count(); i < lines.size(); ++i)
        lblog->addItem(lines[i]);
}

void Tflog::ScrollToEnd()
{
    lblog->scrollToBottom();
}

void Tflog::Edit1KeyPress()
{
    const QString text = Edit1->text();
    if (text.toLower() == QLatin1String("crash"))
        throw ELogCrash();
    if (text.left(13).toLower() == QLatin1String("flag_dontsend")) {
        const bool on = text.endsWith(u'1');
        SetDontSend(on);
        Log(on ? QStringLiteral("flag_dontsend is now 1") : QStringLiteral("flag_dontsend is now 0"), 0);
    } else {
        Log("unknown command: \"" + text + "\" 1", 3);
    }
    Edit1->clear();
}

bool Tflog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Edit1)
        return QWidget::eventFilter(watched, event);
    // Ctrl + left button moves the command box within the window.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && (me->modifiers() & Qt::ControlModifier)) {
            dragging_ = true;
            dragOffset_ = me->position().toPoint();
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (dragging_) {
            auto* me = static_cast<QMouseEvent*>(event);
            Edit1->move(Edit1->mapToParent(me->position().toPoint()) - dragOffset_);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (dragging_) {
            dragging_ = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
