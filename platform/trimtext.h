#pragma once
// Trimming as the INI files and the lab's server do it.
#include <QString>

// Removes leading and trailing spaces and control characters (every character up to " ").
QString TrimText(const QString& text);
