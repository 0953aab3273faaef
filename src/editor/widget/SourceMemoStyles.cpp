#include "editor/widget/SourceMemoStyles.h"

#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "highlight/ParserSettings.h"
#include "platform/QtColors.h"

namespace {

// A settings colour (possibly a system colour) as the COLORREF the writers print.
uint32_t colorRefOf(TColorValue value)
{
    const QColor colour = colorFromColorRef(value);
    return static_cast<uint32_t>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

} // namespace

// A style not given, or a colour marked as the default, takes the default style's colours, as
// the painter does.
TTextStyle TSourceMemoStyles::styleNumbered(int style) const
{
    const TSM_Settings& settings = m_memo.ActiveSettings();
    const StyleRecord& plain = settings.styles[0];
    const StyleRecord& record = settings.styles[static_cast<size_t>(style)];
    const StyleRecord& used = record.defined ? record : plain;
    TTextStyle out;
    out.Foreground = colorRefOf(used.foregroundDefault ? plain.foreground : used.foreground);
    out.Background = colorRefOf(used.backgroundDefault ? plain.background : used.background);
    out.Bold = used.fontStyle & fsBold;
    out.Italic = used.fontStyle & fsItalic;
    out.Underline = used.fontStyle & fsUnderline;
    return out;
}

TTextStyle TSourceMemoStyles::DefaultStyle() const
{
    return styleNumbered(0);
}

TTextStyle TSourceMemoStyles::Style(int index) const
{
    return styleNumbered(index + 1);
}

int TSourceMemoStyles::StyleOfToken(uint8_t token) const
{
    if (!(m_memo.Options() & smoSyntaxHighlight))
        return -1;
    return m_memo.ActiveSettings().tokenStyles[token] - 1;
}

std::string TSourceMemoStyles::FontName() const
{
    return m_memo.EditorFont().family().toStdString();
}

int TSourceMemoStyles::FontSize() const
{
    const QFont& font = m_memo.EditorFont();
    if (font.pointSize() > 0)
        return font.pointSize();
    return std::max(1, (font.pixelSize() * 72 + 48) / 96); // points at 96 pixels an inch
}

int TSourceMemoStyles::FontCharset() const
{
    return m_memo.ActiveSettings().font.charset;
}

std::string TSourceMemoStyles::Title() const
{
    return m_memo.Title();
}

void TSourceMemoStyles::PrepareRange(int64_t start, int64_t end)
{
    m_memo.HighlightRange(start, end);
}
