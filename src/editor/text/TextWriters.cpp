#include "editor/text/TextWriters.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/text/StyleSource.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

namespace {

constexpr size_t kSinkBuffer = 65536;

// Calls part(row, from, to) for each row of the range with the row-relative bounds to write.
template <class Part>
void forEachPart(const TRowRange& range, Part&& part)
{
    int64_t rowStart = range.FirstStart;
    for (const TTextRow* row = range.First; row && rowStart < range.End; row = row->Next) {
        const int from = static_cast<int>(std::max(range.From, rowStart) - rowStart);
        const int to = static_cast<int>(std::min<int64_t>(range.End - rowStart, row->Length));
        if (from < to)
            part(row, from, to);
        rowStart += row->Length;
    }
}

bool writesLineBreak(const TTextRow* row, int to)
{
    return to == row->Length && row->EndsLine();
}

// COLORREF to the RRGGBB number HTML writes.
uint32_t htmlColour(uint32_t colorRef)
{
    return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}

std::string htmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        default: out += c;
        }
    }
    return out;
}

// Resolves token bytes to styles once per token value.
class StyleCache
{
public:
    explicit StyleCache(const TStyleSource& source) : m_source(source), m_default(source.DefaultStyle()) {}
    const TTextStyle& Default() const { return m_default; }
    const TTextStyle& ForToken(uint8_t token)
    {
        if (!m_known[token]) {
            const int index = m_source.StyleOfToken(token);
            m_styles[token] = index >= 0 && index < m_source.StyleCount() ? m_source.Style(index) : m_default;
            m_known[token] = true;
        }
        return m_styles[token];
    }

private:
    const TStyleSource& m_source;
    TTextStyle m_default;
    std::array<TTextStyle, 256> m_styles{};
    std::array<bool, 256> m_known{};
};

// RTF colour table: default foreground, default background, then each style's colours.
class RtfColours
{
public:
    explicit RtfColours(const TStyleSource& source)
    {
        const TTextStyle def = source.DefaultStyle();
        m_colours = {def.Foreground, def.Background};
        for (int i = 0; i < source.StyleCount(); ++i) {
            const TTextStyle style = source.Style(i);
            add(style.Foreground);
            add(style.Background);
        }
    }
    int IndexOf(uint32_t colour, int missing) const
    {
        const auto it = std::find(m_colours.begin(), m_colours.end(), colour);
        return it == m_colours.end() ? missing : static_cast<int>(it - m_colours.begin());
    }
    std::string Table() const
    {
        std::string table = "{\\colortbl";
        for (uint32_t c : m_colours)
            table += Format("\\red%u\\green%u\\blue%u;", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        return table + "}\r\n";
    }

private:
    void add(uint32_t colour)
    {
        if (m_colours.size() < 256 && IndexOf(colour, -1) < 0)
            m_colours.push_back(colour);
    }
    std::vector<uint32_t> m_colours;
};

struct RtfState
{
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int Foreground = 0;
    int Background = 1;
};

void switchRtfStyle(TSaveSink& sink, RtfState& state, const TTextStyle& style, const RtfColours& colours)
{
    // A style is switched on by its bare control word: some readers ignore "\b1".
    if (style.Bold != state.Bold)
        sink.Put(style.Bold ? "\\b " : "\\b0 ");
    if (style.Italic != state.Italic)
        sink.Put(style.Italic ? "\\i " : "\\i0 ");
    if (style.Underline != state.Underline)
        sink.Put(style.Underline ? "\\ul " : "\\ul0 ");
    const int fg = colours.IndexOf(style.Foreground, 0);
    const int bg = colours.IndexOf(style.Background, 1);
    if (fg != state.Foreground)
        sink.Put(Format("\\cf%d ", fg));
    if (bg != state.Background)
        sink.Put(Format("\\cb%d ", bg));
    state = {style.Bold, style.Italic, style.Underline, fg, bg};
}

void putRtfChar(TSaveSink& sink, unsigned char c)
{
    switch (c) {
    case 0: return;
    case '\t': sink.Put("\\tab "); return;
    case 12: sink.Put("\\page "); return;
    case 13: sink.Put("\\line "); return;
    case '\'': sink.Put("\\'27"); return;
    case '\\': sink.Put("\\\\"); return;
    case '{': sink.Put("\\{"); return;
    case '}': sink.Put("\\}"); return;
    default:
        if (c < 32)
            sink.Put(Format("\\'%.2x", c));
        else
            sink.Put(static_cast<char>(c));
    }
}

struct HtmlState
{
    uint32_t Foreground;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

void switchHtmlStyle(TSaveSink& sink, HtmlState& state, const TTextStyle& style)
{
    if (style.Foreground != state.Foreground)
        sink.Put(Format("</FONT><FONT COLOR=\"#%.6x\">", htmlColour(style.Foreground)));
    if (style.Bold != state.Bold)
        sink.Put(style.Bold ? "<B>" : "</B>");
    if (style.Italic != state.Italic)
        sink.Put(style.Italic ? "<I>" : "</I>");
    if (style.Underline != state.Underline)
        sink.Put(style.Underline ? "<U>" : "</U>");
    state = {style.Foreground, style.Bold, style.Italic, style.Underline};
}

void putHtmlChar(TSaveSink& sink, unsigned char c)
{
    switch (c) {
    case '\t':
    case 160: sink.Put("&nbsp;"); return;
    case '"': sink.Put("&quot;"); return;
    case '<': sink.Put("&lt;"); return;
    case '>': sink.Put("&gt;"); return;
    case '&': sink.Put("&amp;"); return;
    default:
        if (c >= 32)
            sink.Put(static_cast<char>(c));
    }
}

} // namespace

void TSaveSink::Put(const char* bytes, size_t n)
{
    m_buffer.append(bytes, n);
    if (m_buffer.size() >= kSinkBuffer)
        Flush();
}

void TSaveSink::Put(char c)
{
    m_buffer.push_back(c);
    if (m_buffer.size() >= kSinkBuffer)
        Flush();
}

void TSaveSink::Flush()
{
    if (m_buffer.empty())
        return;
    if (!m_refused) {
        const auto size = static_cast<int64_t>(m_buffer.size());
        const int64_t accepted = m_stream.Write(m_buffer.data(), size);
        m_written += std::max<int64_t>(accepted, 0);
        m_refused = accepted != size;
    }
    m_buffer.clear();
}

void WritePlainText(TSaveSink& sink, const TRowRange& range, LineEnd lineEnd)
{
    static const char* const ends[] = {"\r", "\r\n", "\n"};
    const char* end = ends[static_cast<int>(lineEnd)];
    forEachPart(range, [&](const TTextRow* row, int from, int to) {
        const bool lineBreak = writesLineBreak(row, to);
        const int body = lineBreak ? to - 1 : to;
        sink.Put(row->Text() + from, static_cast<size_t>(body - from));
        if (lineBreak)
            sink.Put(end);
    });
}

void WriteRtf(TSaveSink& sink, const TRowRange& range, const TStyleSource& styles)
{
    const RtfColours colours(styles);
    StyleCache cache(styles);
    sink.Put("{\\rtf1 \\deff1{\\fonttbl ");
    sink.Put(Format("{\\f1 \\fnil\\fcharset%d %s;}", styles.FontCharset(), styles.FontName().c_str()));
    sink.Put("}\r\n");
    sink.Put(colours.Table());
    sink.Put(Format("{\\f1\\fs%d\\cf0\\cb1 ", styles.FontSize() * 2));
    RtfState state;
    uint8_t tokens[kMaxRowLength];
    forEachPart(range, [&](const TTextRow* row, int from, int to) {
        int lastToken = -1;
        const bool styled = row->HasAttrs();
        row->CopyAttrs(tokens);
        for (int i = from; i < to; ++i) {
            const int token = styled ? tokens[i] : -2;
            if (token != lastToken) {
                const TTextStyle& style = token >= 0 ? cache.ForToken(static_cast<uint8_t>(token)) : cache.Default();
                switchRtfStyle(sink, state, style, colours);
                lastToken = token;
            }
            putRtfChar(sink, static_cast<unsigned char>(row->Text()[i]));
        }
        sink.Put("\r\n");
    });
    sink.Put("}}");
}

void WriteHtml(TSaveSink& sink, const TRowRange& range, const TStyleSource& styles)
{
    const TTextStyle def = styles.DefaultStyle();
    sink.Put("<HTML><HEAD>\r\n");
    sink.Put("<META NAME=\"GENERATOR\" CONTENT=\"TCustomSourceMemo - zbxedit@users.sourceforge.net\">\r\n");
    sink.Put(Format("<TITLE>%s</TITLE>\r\n", htmlEscaped(styles.Title()).c_str()));
    sink.Put(Format("<META NAME=\"Date\" CONTENT=\"%s\">\r\n", htmlEscaped(styles.DateTimeText()).c_str()));
    sink.Put("</HEAD>\r\n");
    sink.Put(Format("<BODY TEXT=\"#%.6x\" BGCOLOR=\"#%.6x\">\r\n", htmlColour(def.Foreground),
                    htmlColour(def.Background)));
    sink.Put("<PRE>");
    sink.Put(Format("<FONT FACE=\"%s\">\r\n", htmlEscaped(styles.FontName()).c_str()));
    StyleCache cache(styles);
    HtmlState state{def.Foreground};
    uint8_t tokens[kMaxRowLength];
    forEachPart(range, [&](const TTextRow* row, int from, int to) {
        int lastToken = -1;
        const bool styled = row->HasAttrs();
        row->CopyAttrs(tokens);
        for (int i = from; i < to; ++i) {
            if (styled && tokens[i] != lastToken) {
                lastToken = tokens[i];
                switchHtmlStyle(sink, state, cache.ForToken(tokens[i]));
            }
            putHtmlChar(sink, static_cast<unsigned char>(row->Text()[i]));
        }
        // Rows that continue a line (a forced split of a long line) are joined again.
        if (writesLineBreak(row, to))
            sink.Put("\r\n");
    });
    sink.Put("</PRE></FONT></BODY></HTML>\r\n");
}

std::string TPlainStyleSource::DateTimeText() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}
