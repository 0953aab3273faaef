// The compact form a row keeps its token bytes in: runs of equal tokens. Rows of source text
// have a handful of runs (an indent, a keyword, a name, a comment to the line end), so a
// 40-character row's 40 token bytes take about 9 bytes.
// A run is one byte, token in the high nibble and length in the low one, when the token is
// below 15 and the run 1 to 15 long. A high nibble of 15 means the token follows in the next
// byte; a low nibble of 0 means the length follows, as one byte holding length - 16 (16 to 270)
// or as 255 and two little-endian bytes. Runs are maximal and lengths take their shortest
// form, so equal token bytes always give equal runs: comparing two encodings compares the
// tokens.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tokenruns {

// Room Encode may need for length token bytes.
constexpr size_t MaxEncodedSize(size_t length) { return 2 * length + 8; }

// Writes the runs of length (1..65535) token bytes to out; returns the bytes written.
size_t Encode(const uint8_t* tokens, size_t length, uint8_t* out);
// Writes the length token bytes that runs encode to out.
void Decode(const uint8_t* runs, size_t length, uint8_t* out);
// The bytes the runs of length token bytes take.
size_t EncodedSize(const uint8_t* runs, size_t length);
// The token of character index (< length).
uint8_t TokenAt(const uint8_t* runs, size_t index);
// Whether the runs encode exactly these length token bytes; reads no more than the runs.
bool Matches(const uint8_t* runs, const uint8_t* tokens, size_t length);

} // namespace tokenruns
