// ZBX.INI as the main window uses it: every read and write opens the file afresh (the compiler
// shares it), values cross as QString the way localToQString converts file names.
#pragma once

#include <QString>

QString zbxIniString(const QString& iniFile, const char* section, const char* key, const QString& defaultValue);
void zbxIniWrite(const QString& iniFile, const char* section, const char* key, const QString& value);
