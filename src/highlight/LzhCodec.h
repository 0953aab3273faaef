// The LZH method: LZSS over a 4,096-byte ring buffer (the first 4,036 bytes start as spaces,
// coding starts at 4,036, longest match 60, matches of 2 bytes or fewer go as literals) with a
// binary-tree match finder, and adaptive Huffman coding of 314 symbols (literals 0..255,
// lengths 3..60 as 256..313). A match distance is coded as its upper 6 bits through a fixed
// prefix code of 3 to 8 bits and its lower 6 bits as they are. Bits go most significant first;
// the last byte is padded with zero bits.
#pragma once

#include "highlight/CodecIO.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace lzhcodec {

constexpr int kRingSize = 4096;
constexpr int kMaxMatch = 60;
constexpr int kThreshold = 2;
constexpr int kSymbols = 256 - kThreshold + kMaxMatch; // 314
constexpr int kTreeSize = 2 * kSymbols - 1;             // 627
constexpr int kRoot = kTreeSize - 1;
constexpr unsigned kMaxFrequency = 0x8000;

// Bytes the decoder may take past the end of its input: the encoder pads only the last byte,
// so a decoder that needs more than this is reading data that was never written.
constexpr int kMaxZeroBytesPastEnd = 4;

// Packs everything the input still holds; returns the bytes written. An empty input writes
// nothing. Throws CodecError; ElzhException when the tables cannot be had.
int64_t encodeStream(InputBuffer& in, OutputBuffer& out);

// Produces exactly size bytes. Throws CodecError{Corrupt} when a match would run past size and
// CodecError{ReadInput} when the decoder needs more than kMaxZeroBytesPastEnd bytes beyond the
// input's end, which bounds the output by what the input could code.
int64_t decodeStream(InputBuffer& in, OutputBuffer& out, int64_t size);

// Fuzzing entry: decodes size bytes from data held in memory, or nothing on a fault.
std::optional<std::vector<uint8_t>> decodeBytes(const uint8_t* data, size_t length, int64_t size);

} // namespace lzhcodec
