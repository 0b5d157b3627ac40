#include "tests/support/windowdriver.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int kPollMs = 10;
constexpr int kGiveUpMs = 5000;

} // namespace

void OnNextModal(std::function<void(QWidget*)> handle)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, before, waited, handle = std::move(handle)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != before) {
            timer->deleteLater();
            timer->stop();
            handle(modal);
            return;
        }
        if ((*waited += kPollMs) > kGiveUpMs) {
            timer->deleteLater();
            timer->stop();
            ADD_FAILURE() << "no modal window opened";
        }
    });
    timer->start(kPollMs);
}

void AnswerNextInput(const QString& text, QString* caption, QString* prompt)
{
    OnNextModal([=](QWidget* window) {
        auto* input = qobject_cast<QInputDialog*>(window);
        ASSERT_NE(input, nullptr) << "expected a text input box";
        if (caption)
            *caption = input->windowTitle();
        if (prompt)
            *prompt = input->labelText();
        if (text.isNull()) {
            input->reject();
            return;
        }
        input->setTextValue(text);
        input->accept();
    });
}

void PressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus ? focus : window, Qt::Key(key), modifiers);
}

QStringList TabWalk(QWidget* window)
{
    QStringList names;
    const QWidget* start = window->focusWidget();
    for (int i = 0; i < 40; ++i) {
        PressKey(window, Qt::Key_Tab);
        const QWidget* now = window->focusWidget();
        if (!now || now == start)
            break;
        names << now->objectName();
    }
    return names;
}

TKeyboardVisit VisitByKeyboard(QWidget* window, const std::function<void()>& open, const QList<int>& keys)
{
    TKeyboardVisit visit;
    OnNextModal([&](QWidget*) {
        const QWidget* focus = window->focusWidget();
        visit.focused = focus ? focus->objectName() : QString();
        visit.tabs = TabWalk(window);
        for (const int key : keys)
            PressKey(window, key);
        visit.closed = !window->isVisible();
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && !visit.closed)
            dialog->done(QDialog::Rejected);
    });
    open();
    return visit;
}

void AnswerNextFileDialog(const QStringList& files)
{
    OnNextModal([=](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        ASSERT_NE(dialog, nullptr) << "expected the open dialog";
        if (files.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->setDirectory(QFileInfo(files.first()).absolutePath());
        QString names;
        for (const QString& file : files)
            names += u'"' + QFileInfo(file).fileName() + QStringLiteral("\" ");
        // Typed into the name box as the user would: several names in quotes.
        auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(nameEdit, nullptr);
        nameEdit->setText(names.trimmed());
        QMetaObject::invokeMethod(dialog, "accept"); // protected in QFileDialog, a slot all the same
    });
}
