#include "editor/search/ReplaceTemplate.h"

#include "editor/search/REParser.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string textBetween(TTextSource& source, int64_t start, int64_t end)
{
    std::string out;
    if (start < 0 || end <= start)
        return out;
    TTextReader reader(source);
    out.reserve(static_cast<size_t>(end - start));
    for (int64_t q = start; q < end;) {
        const TTextSpan& span = reader.SpanAt(q);
        const int64_t stop = std::min(end, span.End);
        out.append(span.Data + (q - span.Start), static_cast<size_t>(stop - q));
        q = stop;
    }
    return out;
}

} // namespace

std::string ExpandReplacement(std::string_view templateText, const TREParser& parser,
                              TTextSource& source)
{
    std::string out;
    const size_t n = templateText.size();
    for (size_t i = 0; i < n;) {
        const char c = templateText[i++];
        if (c == '%') {
            if (i >= n) {
                out += '%';
                break;
            }
            int element = 0;
            size_t digits = 0;
            while (i + digits < n && digits < 3 && templateText[i + digits] >= '0' &&
                   templateText[i + digits] <= '9' &&
                   element * 10 + (templateText[i + digits] - '0') <= 255) {
                element = element * 10 + (templateText[i + digits] - '0');
                ++digits;
            }
            if (digits == 0 || element == 0) {
                out += templateText[i++]; // "%%", or % before another character
                continue;
            }
            i += digits;
            if (element <= parser.PositionCount())
                out += textBetween(source, parser.SubMatch(element - 1), parser.SubMatch(element));
            continue;
        }
        if (c != '\\' || i >= n) {
            out += c;
            continue;
        }
        const char e = templateText[i++];
        switch (e) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\r';
            break;
        case 'r':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 's':
            out += ' ';
            break;
        case 'x': {
            int value = 0;
            int count = 0;
            for (; count < 2 && i < n && hexValue(templateText[i]) >= 0; ++count, ++i)
                value = value * 16 + hexValue(templateText[i]);
            if (count == 0)
                return out;
            out += static_cast<char>(value);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                int value = e - '0';
                for (int count = 1;
                     count < 3 && i < n && templateText[i] >= '0' && templateText[i] <= '7';
                     ++count, ++i)
                    value = value * 8 + (templateText[i] - '0');
                if (value >= 256)
                    return out;
                out += static_cast<char>(value);
            } else {
                out += '\\';
                out += e;
            }
            break;
        }
    }
    return out;
}
