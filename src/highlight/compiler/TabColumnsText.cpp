#include "highlight/compiler/TabColumnsText.h"

#include "editor/edit/TabColumnsText.h"

std::array<int32_t, 32> parseTabColumns(std::string_view text)
{
    std::array<int32_t, 32> columns;
    columns.fill(-1);
    const std::vector<int> stops = ParseTabColumns(text);
    std::copy(stops.begin(), stops.end(), columns.begin());
    return columns;
}
