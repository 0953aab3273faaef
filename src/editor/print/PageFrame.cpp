#include "editor/print/PageFrame.h"

#include "editor/edit/EditorOptions.h"

#include <cstdio>

TPageFrame PageFrameOf(const TPrintRect& area, int lineHeight, uint32_t options)
{
    TPageFrame frame;
    frame.Title = options & smoPrintFilename;
    frame.Date = options & smoPrintDate;
    frame.PageNumber = options & smoPrintPageNos;
    frame.BlackOnWhite = frame.Title || frame.Date || frame.PageNumber;
    frame.TextTop = area.Top;
    frame.TextBottom = area.Bottom;
    frame.HeaderLine = {area.Left, area.Top, area.Right, area.Top + lineHeight};
    if (frame.Title || frame.Date) {
        frame.HeaderRuleY = area.Top + 2 * lineHeight;
        frame.TextTop = area.Top + 3 * lineHeight;
    }
    if (frame.PageNumber) {
        const int top = area.Bottom - 5 * lineHeight / 2;
        frame.FooterLine = {area.Left, top, area.Right, top + lineHeight};
        frame.FooterRuleY = area.Bottom - 3 * lineHeight;
        frame.TextBottom = area.Bottom - 4 * lineHeight;
    }
    return frame;
}

std::string PageNumberText(int page)
{
    char text[32];
    std::snprintf(text, sizeof text, "- %d -", page);
    return text;
}

std::string LineNumberText(int64_t line)
{
    char text[32];
    std::snprintf(text, sizeof text, "%6lld:", static_cast<long long>(line));
    return text;
}
