#include "platform/QtText.h"

#include "platform/CodePage1252.h"

#include <QList>

QString cp1252ToQString(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes)
        text += QChar(static_cast<char16_t>(cp1252ToUnicode(static_cast<uint8_t>(c))));
    return text;
}

std::string qStringToCp1252(const QString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    // toUcs4 joins surrogate pairs and turns a lone surrogate into U+FFFD.
    for (const uint c : text.toUcs4())
        bytes += static_cast<char>(unicodeToCp1252(c));
    return bytes;
}

QString utf8ToQString(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string qStringToUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}
