#include "editor/text/TokenRuns.h"

#include <cstring>

namespace tokenruns {

namespace {

constexpr unsigned kEscapedToken = 15;
constexpr size_t kShortRun = 15;
constexpr size_t kByteRun = 16 + 254; // the longest length held in one extra byte

struct Run
{
    uint8_t Token;
    size_t Length;
};

// Reads the run at runs; returns the byte after it.
const uint8_t* readRun(const uint8_t* runs, Run& run)
{
    const unsigned head = *runs++;
    run.Token = static_cast<uint8_t>(head >> 4);
    if (run.Token == kEscapedToken)
        run.Token = *runs++;
    run.Length = head & 15;
    if (run.Length == 0) {
        const unsigned extra = *runs++;
        if (extra < 255) {
            run.Length = extra + 16;
        } else {
            run.Length = runs[0] | (static_cast<size_t>(runs[1]) << 8);
            runs += 2;
        }
    }
    return runs;
}

uint8_t* writeRun(uint8_t* out, uint8_t token, size_t length)
{
    const unsigned high = token < kEscapedToken ? token : kEscapedToken;
    const unsigned low = length <= kShortRun ? static_cast<unsigned>(length) : 0;
    *out++ = static_cast<uint8_t>(high << 4 | low);
    if (high == kEscapedToken)
        *out++ = token;
    if (low == 0) {
        if (length <= kByteRun) {
            *out++ = static_cast<uint8_t>(length - 16);
        } else {
            *out++ = 255;
            *out++ = static_cast<uint8_t>(length & 255);
            *out++ = static_cast<uint8_t>(length >> 8);
        }
    }
    return out;
}

} // namespace

size_t Encode(const uint8_t* tokens, size_t length, uint8_t* out)
{
    uint8_t* const start = out;
    size_t i = 0;
    while (i < length) {
        const uint8_t token = tokens[i];
        size_t end = i + 1;
        while (end < length && tokens[end] == token)
            ++end;
        out = writeRun(out, token, end - i);
        i = end;
    }
    return static_cast<size_t>(out - start);
}

void Decode(const uint8_t* runs, size_t length, uint8_t* out)
{
    for (size_t done = 0; done < length;) {
        Run run{};
        runs = readRun(runs, run);
        std::memset(out + done, run.Token, run.Length);
        done += run.Length;
    }
}

size_t EncodedSize(const uint8_t* runs, size_t length)
{
    const uint8_t* at = runs;
    for (size_t done = 0; done < length;) {
        Run run{};
        at = readRun(at, run);
        done += run.Length;
    }
    return static_cast<size_t>(at - runs);
}

uint8_t TokenAt(const uint8_t* runs, size_t index)
{
    for (size_t done = 0;;) {
        Run run{};
        runs = readRun(runs, run);
        done += run.Length;
        if (index < done)
            return run.Token;
    }
}

bool Matches(const uint8_t* runs, const uint8_t* tokens, size_t length)
{
    for (size_t done = 0; done < length;) {
        Run run{};
        runs = readRun(runs, run);
        if (run.Length > length - done)
            return false;
        for (size_t i = done; i < done + run.Length; ++i)
            if (tokens[i] != run.Token)
                return false;
        done += run.Length;
    }
    return true;
}

} // namespace tokenruns
