#include "highlight/registry/TabColumnsText.h"

#include "editor/edit/TabColumnsText.h"

#include <algorithm>

std::string tabColumnsText(const TTabStopTable& table)
{
    std::vector<int> stops;
    for (const int32_t stop : table) {
        // A stop at column 1 or beyond the widest column would not read again.
        if (stop >= 1 && stop < kMaxTabColumn)
            stops.push_back(stop);
    }
    return FormatTabColumns(stops);
}

TTabStopTable readTabColumnsText(std::string_view text)
{
    TTabStopTable table;
    table.fill(-1);
    const std::vector<int> stops = ParseTabColumns(text);
    std::copy(stops.begin(), stops.end(), table.begin());
    return table;
}
