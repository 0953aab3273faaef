// Document text (Windows-1252 bytes) to QString and back, for painting and the clipboard, and
// local file names to QString and back.
#pragma once

#include <QString>

#include <string>
#include <string_view>

QString cp1252ToQString(std::string_view bytes);
// Characters outside the code page become '?' (one per character, a surrogate pair included).
std::string qStringToCp1252(const QString& text);

// UTF-8 strings of our interfaces (captions, message texts) to QString and back.
QString utf8ToQString(const std::string& text);
std::string qStringToUtf8(const QString& text);

// Local file names (bytes, normally UTF-8) to QString and back without losing a byte: a byte
// that is not part of a valid UTF-8 sequence becomes the lone surrogate U+DC00 + byte, which
// no valid UTF-8 text produces, and turns back into that byte. So a name read from a settings
// file or the command line reaches the file system exactly as it was, whatever its encoding.
// Such names show a replacement mark for those bytes; Qt's own file classes cannot use them,
// so code that touches the disk with such a name goes through the bytes.
QString localToQString(std::string_view bytes);
std::string qStringToLocal(const QString& text);

// A name shown as a menu item or tab caption, where a single '&' marks the access key and is
// not drawn: every '&' is doubled so "R&D.BAS" shows as written.
QString literalCaption(QString text);
