#include "editor/print/PrintWrap.h"

#include "editor/edit/TabStops.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

int FittingColumns(int right, int textLeft, int charWidth)
{
    if (charWidth <= 0)
        return 1;
    return std::max((right - textLeft) / charWidth - 1, 1);
}

int PrintedRowEnd(const char* text, int length, int from, int fit, const TTabStops& tabs)
{
    if (from >= length)
        return length;
    // limit: the first character that does not fit.
    int limit = from;
    int column = 0;
    while (limit < length) {
        const int next = text[limit] == '\t' ? tabs.NextStop(column) : column + 1;
        if (next > fit)
            break;
        column = next;
        ++limit;
    }
    if (limit == length)
        return length;
    limit = std::max(limit, from + 1);
    int cut = -1;
    for (int at = std::min(limit, length - 1); at >= from; --at) {
        if (isBlank(text[at])) {
            cut = at + 1;
            break;
        }
    }
    if (cut < 0)
        return limit;
    while (cut < length && isBlank(text[cut]))
        ++cut;
    return cut;
}
