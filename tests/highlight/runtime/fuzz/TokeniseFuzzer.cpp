// Loads the input as an unpacked compiled-parser body (packing only hides the tables from the
// mutator) and tokenises a sample and the input itself with whatever language came out: the scan must end, every token must be 1 or more characters and
// the tokens must tile the text exactly.
#include "highlight/ParserFormat.h"
#include "highlight/runtime/ParseCursor.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

namespace {

void scan(TSourceMemoParser& parser, std::string_view text)
{
    TStringCharSource source(text);
    TParseCursor in(source);
    parser.ResetState(0);
    int64_t covered = 0;
    while (!in.atEnd()) {
        const int64_t before = in.position();
        int64_t length = 0;
        const int token = parser.NextToken(nullptr, in, length);
        if (token < 0 || token > 255 || length < 1 || in.position() - before != length)
            std::abort();
        covered += length;
        if (parser.IsBusy() != parser.InContainer())
            std::abort();
    }
    if (covered != static_cast<int64_t>(text.size()) || !parser.check().empty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TSourceMemoParser parser;
    try {
        readParserBody(data, size, parser.Tables(), parser.Settings());
        parser.TablesChanged();
    } catch (const std::exception&) {
        parser.Reset();
    }
    scan(parser, "' comment\rPRINT \"text\", $1F, %1010, 3.25e2\rASM\r movlw 10\rENDASM\r/* a\rb "
                 "*/ x = 1\r");
    scan(parser,
         std::string_view(reinterpret_cast<const char*>(data), std::min<size_t>(size, 4096)));
    return 0;
}
