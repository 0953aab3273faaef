#include "editor/keys/KeyMapRecords.h"

#include "base/Stream.h"
#include "editor/keys/KeyErrors.h"

#include <algorithm>

namespace {

void writeLE(TStream& stream, uint32_t value, int bytes)
{
    uint8_t buffer[4];
    for (int i = 0; i < bytes; ++i)
        buffer[i] = static_cast<uint8_t>(value >> (8 * i));
    stream.WriteBuffer(buffer, bytes);
}

uint32_t readLE(TStream& stream, int bytes)
{
    uint8_t buffer[4] = {};
    stream.ReadBuffer(buffer, bytes);
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint32_t>(buffer[i]) << (8 * i);
    return value;
}

int32_t readCount(TStream& stream)
{
    const auto count = static_cast<int32_t>(readLE(stream, 4));
    if (count < 0)
        throw EKeyControllerException("Invalid key map data");
    return count;
}

} // namespace

void writeKeyMapRecords(TStream& stream, const TKeyMapRecords& records)
{
    writeLE(stream, static_cast<uint32_t>(records.commands.size()), 4);
    for (const auto& command : records.commands) {
        const size_t length = std::min<size_t>(command.name.size(), 255);
        writeLE(stream, static_cast<uint32_t>(command.number), 4);
        writeLE(stream, static_cast<uint32_t>(length), 1);
        stream.WriteBuffer(command.name.data(), static_cast<int64_t>(length));
    }
    writeLE(stream, static_cast<uint32_t>(records.bindings.size()), 4);
    for (const auto& binding : records.bindings) {
        writeLE(stream, binding.first, 2);
        writeLE(stream, binding.second, 2);
        writeLE(stream, static_cast<uint32_t>(binding.command), 4);
    }
}

TKeyMapRecords readKeyMapRecords(TStream& stream)
{
    TKeyMapRecords records;
    for (int32_t n = readCount(stream); n > 0; --n) {
        TKeyMapRecords::Command command;
        command.number = static_cast<int32_t>(readLE(stream, 4));
        command.name.resize(readLE(stream, 1));
        stream.ReadBuffer(command.name.data(), static_cast<int64_t>(command.name.size()));
        records.commands.push_back(std::move(command));
    }
    for (int32_t m = readCount(stream); m > 0; --m) {
        TKeyMapRecords::Binding binding;
        binding.first = static_cast<TShortCut>(readLE(stream, 2));
        binding.second = static_cast<TShortCut>(readLE(stream, 2));
        binding.command = static_cast<int32_t>(readLE(stream, 4));
        records.bindings.push_back(binding);
    }
    return records;
}
