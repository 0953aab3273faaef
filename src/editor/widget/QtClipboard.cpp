#include "editor/widget/QtClipboard.h"

#include "platform/CodePage1252.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace {

const QString kRtfFormat = QStringLiteral("Rich Text Format");
const QString kRtfMime = QStringLiteral("text/rtf");
const QString kHtmlFormat = QStringLiteral("HTML Format");
const QString kHtmlMime = QStringLiteral("text/html");

// Mime types of a format in the order they are tried when reading.
QStringList mimeTypesOf(TClipFormat format)
{
    switch (format) {
    case TClipFormat::Text: return {QStringLiteral("text/plain")};
    case TClipFormat::Rtf: return {kRtfFormat, kRtfMime};
    case TClipFormat::Html: return {kHtmlFormat, kHtmlMime};
    }
    return {};
}

QByteArray toBytes(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

TQtClipboard::TQtClipboard(QClipboard* clipboard)
    : m_clipboard(clipboard ? clipboard : QApplication::clipboard())
{
}

bool TQtClipboard::HasFormat(TClipFormat format) const
{
    const QMimeData* data = m_clipboard->mimeData();
    if (!data)
        return false;
    if (format == TClipFormat::Text)
        return data->hasText();
    for (const QString& mime : mimeTypesOf(format)) {
        if (data->hasFormat(mime))
            return true;
    }
    return false;
}

std::string TQtClipboard::Data(TClipFormat format) const
{
    const QMimeData* data = m_clipboard->mimeData();
    if (!data)
        return {};
    if (format == TClipFormat::Text)
        return qStringToCp1252(data->text());
    for (const QString& mime : mimeTypesOf(format)) {
        if (!data->hasFormat(mime))
            continue;
        const QByteArray bytes = data->data(mime);
        // Our own HTML and RTF are code-page bytes; text/html from other programs is UTF-8.
        if (mime == kHtmlMime)
            return utf8ToCp1252(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return {};
}

void TQtClipboard::SetContents(const std::vector<std::pair<TClipFormat, std::string>>& contents)
{
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : contents) {
        switch (format) {
        case TClipFormat::Text:
            data->setText(cp1252ToQString(bytes));
            break;
        case TClipFormat::Rtf:
            data->setData(kRtfFormat, toBytes(bytes));
            data->setData(kRtfMime, toBytes(bytes));
            break;
        case TClipFormat::Html:
            data->setData(kHtmlFormat, toBytes(bytes));
            data->setData(kHtmlMime, toBytes(cp1252ToUtf8(bytes)));
            break;
        }
    }
    m_clipboard->setMimeData(data);
}
