#include "core/unhandled.h"

#include "core/log.h"

#include <QFileInfo>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

QString ExceptionClassName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
    return name.remove(QStringLiteral("(anonymous namespace)::"));
}

UnhandledReport DescribeException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return { ExceptionClassName(e), QString::fromUtf8(e.what()) };
    } catch (...) {
        return { QStringLiteral("unknown"), QString() };
    }
}

QString ReportUnhandledException(const UnhandledReport& report)
{
    Log(QStringLiteral("UNHANDLED EXCEPTION"), 3);
    Log(report.className + ":" + report.message, 3);
    Log(QStringLiteral("------------"), 3);
    const QString path = SaveErrorLog();
    return QStringLiteral(u"BŁĄD KRYTYCZNY !\r\rKlasa błędu: ") + report.className + u'\r'
        + QStringLiteral("Komunikat: ") + report.message + QStringLiteral("\r\r")
        + QStringLiteral(u"Log został zapisany (") + QFileInfo(path).fileName() + u')';
}
