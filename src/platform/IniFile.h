// Settings in an INI file on disk, with Windows private-profile behaviour (see IniDocument.h).
// The file is read afresh for every read and every write and nothing is cached, so another
// program (the compiler shares ZBX.INI) may change it at any time. Writes replace the file
// atomically. The file's name is matched without regard to case when the exact name is absent.
#pragma once

#include "platform/FileAccess.h"

#include <string>

class TIniFile
{
public:
    // Files larger than this are not read (reads give the defaults, writes fail): a settings
    // file never comes near it, and it bounds what a damaged file can make us allocate.
    static constexpr long long maxFileSize = 64LL * 1024 * 1024;

    explicit TIniFile(std::string fileName) : m_fileName(std::move(fileName)) {}

    // The trimmed value, or defaultValue when the file, the section or the key is missing or
    // the file cannot be read.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // The value as a decimal number (or hexadecimal after "$" or "0x"); defaultValue when it is
    // missing, not wholly a number or out of range.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    // Creates the file, section or key as needed and keeps every other byte of the file. Throws
    // EFOpenError when the file exists but cannot be read (it is then left alone), EWriteError
    // or EFCreateError when it cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void DeleteKey(const std::string& section, const std::string& key);

    const std::string& FileName() const { return m_fileName; }

private:
    std::string m_fileName;

    // The file to use: the name as given, else its case-blind match in the same folder.
    std::string resolvedName() const;
};

// A decimal number (or hexadecimal after "$" or "0x"), optionally signed, filling all of text.
bool parseInteger(const std::string& text, int& value);
