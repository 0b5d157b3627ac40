#include "tests/support/windowdriver.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPointer>
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
