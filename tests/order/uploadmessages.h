#pragma once
// The upload's messages to the customer, written out as the tests expect them.
#include <QString>

inline const QString kTooManyErrors = QStringLiteral(
    "Zbyt wiele błędów podczas wysyłania zlecenia !\rZlecenie nie zostało wysłane !\rJeśli problem będzie się "
    "powtarzał spróbuj ustawień \"połączenie z internetem\".");
inline const QString kConnectionLost = QStringLiteral(
    "Połączenie z internetem zostało utracone !\rZlecenie nie zostało wysłane !\rJeśli problem będzie się "
    "powtarzał spróbuj ustawień \"połączenie z internetem\".");
inline const QString kCannotConnect = QStringLiteral("Nie udało się połączyć z serwerem FTP !");
