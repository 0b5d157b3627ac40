#pragma once
// The application object: every exception that escapes an event handler ends here, in
// ApplicationEvents1Exception, which records it, shows the fatal message and ends the process.
#include <QApplication>

#include <exception>
#include <functional>

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv)
        : QApplication(argc, argv)
    {
    }

    bool notify(QObject* receiver, QEvent* event) override;
};

// Logs the exception, saves an error log, shows the critical message with its single Abort
// button and ends the process at once: nothing of the normal shut-down runs.
// With VENDARO_FATAL_BOX_AUTOCLOSE set (tests), the message closes itself.
[[noreturn]] void ApplicationEvents1Exception(std::exception_ptr error);

// Runs start-up code outside the event loop with the same treatment of escaping exceptions.
int RunGuarded(const std::function<int()>& body);

// The application title: the executable's base name until the start-up names the program after
// the lab. Message boxes and input boxes carry it as their caption. It is kept apart from Qt's
// application display name, which the window system would append to every window's caption.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);
