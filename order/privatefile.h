#pragma once
// Files that hold the customer's credentials or personal data: written whole or not at all,
// readable by their owner only (mode 0600).
#include <QIODevice>
#include <QString>

#include <functional>

// Runs write on the new file's device and puts the file in place only when write returned
// true and everything reached the disk.
bool WritePrivateFile(const QString& path, const std::function<bool(QIODevice&)>& write);
