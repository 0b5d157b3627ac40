#pragma once
// What the program records when an exception reaches no handler: the log lines, the error
// log file and the text of the fatal message.
#include <QString>

#include <exception>

// The exception's class name as written in the code (namespaces kept, the anonymous one
// dropped).
QString ExceptionClassName(const std::exception& error);

struct UnhandledReport {
    QString className;
    QString message;
};
// The class name and message of a caught exception; "unknown" for one that is not a
// std::exception.
UnhandledReport DescribeException(std::exception_ptr error);

// Logs "UNHANDLED EXCEPTION", "class:message" and a rule at level 3, saves the error log and
// returns the fatal message's text ("\r" breaks its lines).
QString ReportUnhandledException(const UnhandledReport& report);
