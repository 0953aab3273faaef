// Helpers of the search tests: a store loaded with text, and a search run both over a plain
// buffer and over the store's rows, which must agree (the rows are spans of at most 2047 bytes).
#pragma once

#include "editor/search/REParser.h"
#include "editor/search/TextSource.h"
#include "editor/text/EdStream.h"
#include "editor/text/TextStore.h"

#include "base/Stream.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

inline std::unique_ptr<TTextStore> storeWith(const std::string& text)
{
    auto store = std::make_unique<TTextStore>();
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    store->LoadFromStream(stream);
    return store;
}

// Cuts every line of the store again into rows of 1 to maxPiece bytes (as word wrap does), so
// that searches meet many row ends inside lines as well as at line breaks.
inline void cutRowsSmall(TTextStore& store, std::mt19937& random, int maxPiece)
{
    if (store.RowCount() == 0)
        return;
    const std::string text = store.GetText();
    std::vector<int> lengths;
    int line = 0; // bytes of the current line not yet given a row
    const auto flush = [&] {
        while (line > 0) {
            const int piece = std::min(line, 1 + static_cast<int>(random() % maxPiece));
            lengths.push_back(piece);
            line -= piece;
        }
    };
    for (const char c : text) {
        ++line;
        if (c == '\r')
            flush();
    }
    flush();
    store.RecutRows(store.RowByIndex(0), store.RowCount(), lengths);
    ASSERT_EQ(store.check(), "");
    ASSERT_EQ(store.GetText(), text);
}

struct TMatchSpan
{
    int64_t Start = -1;
    int64_t End = -1;
    bool operator==(const TMatchSpan&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const TMatchSpan& span)
{
    return out << "[" << span.Start << ", " << span.End << ")";
}

// The match of a compiled parser from `from`, over the buffer; none as [-1, -1).
inline TMatchSpan searchBuffer(TREParser& parser, const std::string& text, int64_t from = 0,
                               TSearchDirection direction = TSearchDirection::Forward)
{
    TBufferTextSource source(text);
    if (!parser.Search(source, from, direction))
        return {};
    return {parser.MatchStart(), parser.MatchEnd()};
}

// The same over a store holding text (which must be in stored form: CR line breaks only).
inline TMatchSpan searchStore(TREParser& parser, TTextStore& store, int64_t from = 0,
                              TSearchDirection direction = TSearchDirection::Forward)
{
    TEdStream stream(store);
    TEdStreamTextSource source(stream, store);
    if (!parser.Search(source, from, direction))
        return {};
    return {parser.MatchStart(), parser.MatchEnd()};
}
