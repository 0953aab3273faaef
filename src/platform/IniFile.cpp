#include "platform/IniFile.h"

#include "base/Exception.h"
#include "platform/AtomicFile.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "platform/IniDocument.h"

#include <climits>

namespace {

// The document of the file, empty when the file does not exist.
TIniDocument loadDocument(const std::string& fileName)
{
    std::string bytes;
    readFileLimited(fileName, TIniFile::maxFileSize, bytes);
    return TIniDocument(bytes);
}

} // namespace

bool parseInteger(const std::string& text, int& value)
{
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return false;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    const long long result = negative ? -magnitude : magnitude;
    if (result > INT_MAX || result < INT_MIN)
        return false;
    value = static_cast<int>(result);
    return true;
}

std::string TIniFile::resolvedName() const
{
    const size_t slash = m_fileName.rfind('/');
    if (slash == std::string::npos)
        return resolveIgnoringCase(".", m_fileName).substr(2);
    return resolveIgnoringCase(m_fileName.substr(0, slash + 1), m_fileName.substr(slash + 1));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const
{
    try {
        return loadDocument(resolvedName()).value(section, key).value_or(defaultValue);
    } catch (const EStreamError&) {
        return defaultValue;
    }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    int value = 0;
    return parseInteger(ReadString(section, key, std::string()), value) ? value : defaultValue;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    try {
        return loadDocument(resolvedName()).value(section, key).has_value();
    } catch (const EStreamError&) {
        return false;
    }
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string fileName = resolvedName();
    TIniDocument document = loadDocument(fileName);
    document.setValue(section, key, value);
    WriteFileAtomically(fileName, document.bytes());
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    const std::string fileName = resolvedName();
    TIniDocument document = loadDocument(fileName);
    if (document.deleteKey(section, key))
        WriteFileAtomically(fileName, document.bytes());
}
