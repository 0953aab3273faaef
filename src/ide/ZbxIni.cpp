#include "ide/ZbxIni.h"

#include "platform/IniFile.h"
#include "platform/QtText.h"

// Values are paths, names and command lines: they cross as the local file-name bytes, kept
// whole whatever their encoding.
QString zbxIniString(const QString& iniFile, const char* section, const char* key, const QString& defaultValue)
{
    return localToQString(TIniFile(qStringToLocal(iniFile)).ReadString(section, key, qStringToLocal(defaultValue)));
}

void zbxIniWrite(const QString& iniFile, const char* section, const char* key, const QString& value)
{
    TIniFile(qStringToLocal(iniFile)).WriteString(section, key, qStringToLocal(value));
}
