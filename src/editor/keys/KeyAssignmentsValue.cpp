#include "editor/keys/KeyAssignmentsValue.h"

#include "base/Stream.h"
#include "editor/keys/KeyboardActionController.h"

#include <algorithm>
#include <string_view>

namespace {
constexpr std::string_view mark = "Zylnor6:";
constexpr int64_t headerSize = 1 + mark.size();
} // namespace

std::vector<uint8_t> keyAssignmentsValue(const TKeyboardActionContoller& map)
{
    TMemoryStream stream;
    const uint8_t length = mark.size();
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(mark.data(), static_cast<int64_t>(mark.size()));
    map.SaveToStream(stream);
    return stream.Bytes();
}

bool loadKeyAssignmentsValue(TKeyboardActionContoller& map, std::span<const uint8_t> value)
{
    const auto found =
        std::search(value.begin(), value.end(), mark.begin(), mark.end(),
                    [](uint8_t byte, char c) { return byte == static_cast<uint8_t>(c); });
    if (found == value.end())
        return false;
    const int64_t size = static_cast<int64_t>(value.size());
    TReadOnlyMemoryStream stream(value.data(), size);
    stream.SetPosition(std::min(headerSize, size));
    map.LoadFromStream(stream);
    return true;
}
