#include "ide/ZbxIni.h"

#include "platform/IniFile.h"
#include "platform/QtText.h"

// Values are paths, names and command lines: they cross as the local (UTF-8) file-name bytes.
QString zbxIniString(const QString& iniFile, const char* section, const char* key, const QString& defaultValue)
{
    return utf8ToQString(TIniFile(qStringToUtf8(iniFile)).ReadString(section, key, qStringToUtf8(defaultValue)));
}

void zbxIniWrite(const QString& iniFile, const char* section, const char* key, const QString& value)
{
    TIniFile(qStringToUtf8(iniFile)).WriteString(section, key, qStringToUtf8(value));
}
