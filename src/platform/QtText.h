// Document text (Windows-1252 bytes) to QString and back, for painting and the clipboard, and
// local file names to QString and back.
#pragma once

#include <QString>

#include <string>
#include <string_view>

QString cp1252ToQString(std::string_view bytes);
// Characters outside the code page become '?' (one per character, a surrogate pair included).
std::string qStringToCp1252(const QString& text);

// UTF-8 strings of our interfaces (captions, message texts, file names) to QString and back.
QString utf8ToQString(const std::string& text);
std::string qStringToUtf8(const QString& text);
