#pragma once
// Text digest used by the digital stamp and request signatures.
#include <QString>

// MD5 of the Windows-1250 bytes of text, as 32 lower-case hexadecimal digits.
QString MD5Hex(const QString& text);
