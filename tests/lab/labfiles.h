#pragma once
// Stamped lab files for the tests: INI text built from a base table with changes.
#include <QMap>
#include <QString>

// "section/key" -> value; kAbsent removes the key.
using TIniValues = QMap<QString, QString>;
inline const QString kAbsent = QStringLiteral("<absent>");

// The engine.ini of a working lab (protected values enciphered with the lab key).
TIniValues LabIniValues();
// The settings file of a working lab.
TIniValues SettingsValues();

// Writes values (sections in first-seen order of the base tables) in Windows-1250 with CR LF,
// then the stamp, unless stamp is given (written as it is).
void WriteStampedIni(const QString& path, const TIniValues& values, const QString* stamp = nullptr);
