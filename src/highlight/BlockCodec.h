// The block method: a fast LZ77 coder working on independent pieces of 32,768 bytes. Items are
// literals, matches (12-bit distance, length 3..18) and runs (16..4,095 equal bytes), grouped
// sixteen to a big-endian control word; a block that would not shrink is stored (0x80 + bytes).
// The packed data is a sequence of chunks (u16 length, block) that ends with the first block
// decoding to fewer than 32,768 bytes, so a multiple of 32,768 ends with an empty block.
#pragma once

#include "highlight/CodecIO.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace blockcodec {

constexpr size_t kPieceSize = 32768;
constexpr size_t kHashSize = 4096;
constexpr size_t kMaxMatch = 18;
constexpr size_t kMaxRun = 4095;
constexpr size_t kMinRun = 16;
constexpr uint8_t kStoredMark = 0x80;

// Encodes one piece of n <= kPieceSize bytes into out, which has room for kIoBufferSize bytes;
// returns the block's size (at most n + 1). hashTable must hold kHashSize entries; it is
// cleared first, so no match reaches into another piece.
size_t encodeBlock(const uint8_t* in, size_t n, uint8_t* out, std::vector<int16_t>& hashTable);

// Decodes one block of length bytes into out (room for kPieceSize bytes); returns the count,
// or nothing when the block is corrupt (a reference before the start of the output, an item
// cut off at the end of the block, or more than kPieceSize bytes).
std::optional<size_t> decodeBlock(const uint8_t* block, size_t length, uint8_t* out);

// Packs everything the input still holds as chunks; returns the bytes written.
// Throws CodecError.
int64_t encodeStream(InputBuffer& in, OutputBuffer& out);

// Unpacks chunks until a block decodes to fewer than kPieceSize bytes; returns the bytes
// produced. Stops with CodecError{Corrupt} as soon as the output would pass expectedSize, so a
// hostile stream produces no more than its header promised. Throws CodecError.
int64_t decodeStream(InputBuffer& in, OutputBuffer& out, int64_t expectedSize);

// Fuzzing entry: decodes chunk data held in memory; returns the bytes produced, or nothing when
// the data is truncated or corrupt.
std::optional<std::vector<uint8_t>> decodeBytes(const uint8_t* data, size_t size, int64_t expectedSize);

} // namespace blockcodec
