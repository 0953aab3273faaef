// Fuzz entry point for the regular-expression compiler and matcher: the bytes up to the first
// NUL are an expression, the rest a text, the first byte of the text also choosing where the
// searches start. Compiling never fails badly (a program that holds its invariants, or an error
// with a position inside the expression); searching never crashes and ends within its budget;
// a search over the store's rows finds exactly what the same search over one buffer finds,
// forwards and backwards, and the plain search agrees likewise.
#include "editor/search/PlainSearch.h"
#include "editor/search/REParser.h"
#include "editor/search/ReCompiler.h"
#include "editor/search/ReplaceTemplate.h"
#include "editor/text/EdStream.h"
#include "editor/text/TextStore.h"

#include "base/Stream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

struct TOutcome
{
    bool Found = false;
    int Error = 0;
    int64_t Start = -1;
    int64_t End = -1;
    bool operator==(const TOutcome&) const = default;
};

TOutcome searchOnce(TREParser& parser, TTextSource& source, int64_t from,
                    TSearchDirection direction)
{
    TOutcome outcome;
    try {
        outcome.Found = parser.Search(source, from, direction);
    } catch (const ERegExpError& error) {
        outcome.Error = error.Id();
        return outcome;
    }
    if (outcome.Found) {
        outcome.Start = parser.MatchStart();
        outcome.End = parser.MatchEnd();
        require(parser.SubMatch(0) == outcome.Start);
        require(parser.PositionCount() >= 0 && parser.PositionCount() <= 255);
        require(outcome.Start >= 0 && outcome.Start <= outcome.End &&
                outcome.End <= source.Length());
        (void)ExpandReplacement("%1<%2>%%\\n\\x41%9", parser, source);
    }
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    const char* nul = static_cast<const char*>(std::memchr(bytes, 0, size));
    const size_t expressionLength = nul ? static_cast<size_t>(nul - bytes) : size;
    if (expressionLength > 512)
        return 0;
    const std::string expression(bytes, expressionLength);
    const std::string raw = nul ? std::string(nul + 1, bytes + size) : std::string();

    const TReCompileResult result = CompileExpression(expression);
    if (!result.Ok) {
        require(result.ErrorId >= reInvalidParameter && result.ErrorId <= reInternalError);
        require(result.ErrorPos >= 1 && result.ErrorPos <= static_cast<int>(expression.size()) + 1);
    } else {
        require(CheckProgram(result.Program).empty());
    }

    TTextStore store;
    TReadOnlyMemoryStream stream(raw.data(), static_cast<int64_t>(raw.size()));
    store.LoadFromStream(stream);
    const std::string text = store.GetText();
    TBufferTextSource buffer(text);
    TEdStream edStream(store);
    TEdStreamTextSource rows(edStream, store);
    const int64_t from =
        raw.empty() ? 0
                    : static_cast<unsigned char>(raw[0]) * static_cast<int64_t>(text.size()) / 255;

    TREParser parser;
    parser.Limits.BaseSteps = 1 << 16;
    parser.Limits.StepsPerChar = 16;
    parser.Limits.MaxStackEntries = 1 << 14;
    if (parser.SetExpression(expression)) {
        for (const TSearchDirection direction :
             {TSearchDirection::Forward, TSearchDirection::Backward}) {
            const TOutcome overBuffer = searchOnce(parser, buffer, from, direction);
            const TOutcome overRows = searchOnce(parser, rows, from, direction);
            require(overBuffer == overRows);
        }
    }

    if (!expression.empty() && expression.size() <= 64) {
        TPlainSearch plain;
        plain.SetPattern(expression);
        TPlainOptions options;
        options.MatchCase = (expression.size() & 1) != 0;
        options.WholeWord = (expression.size() & 2) != 0;
        TTextReader bufferReader(buffer);
        TTextReader rowReader(rows);
        require(plain.FindForward(bufferReader, from, options) ==
                plain.FindForward(rowReader, from, options));
        require(plain.FindBackward(bufferReader, from, options) ==
                plain.FindBackward(rowReader, from, options));
    }
    return 0;
}
