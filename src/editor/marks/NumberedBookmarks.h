// Bookmarks 0 to 9. Their truth is in the rows: bit n of a row's RowBits marks the row of
// bookmark n, and the store's BookmarkCols holds its 1-based column (0: not set); rows carry
// the bits through every edit and re-cut for free. So that finding a bookmark's row does not
// walk the document, each bookmark also keeps a hint, the start of its row, which edits shift
// like any position. A hint is checked against the row it names and against the first row of
// that row's line (where re-cutting gathers a line's bits); only a hint that fails both costs
// one walk over the rows, after which the bookmark is known to be gone until it is set again.
#pragma once

#include "editor/text/StoreHooks.h"
#include "editor/text/TextStore.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr const char* kBookmarkIndexRangeError = "Bookmark index range error";

// What SetBookmark did, for the control's events and repaint.
struct TBookmarkChange
{
    bool Set = false;             // the bookmark now marks a row
    std::vector<int> Cleared;     // bookmarks whose row lost their bit (the toggled one too)
    std::vector<int64_t> Rows;    // row indexes whose gutter changed
};

class TNumberedBookmarks : public TStoreShiftTarget
{
public:
    static constexpr int kCount = 10;

    // Throws ESourceMemo "Bookmark index range error" for n outside 0..9.
    static void CheckIndex(int n);

    // Sets bookmark n on row (an index, clamped to the rows) with the 1-based column (at least
    // 1). When n already marks that row (with word wrap: that line) the bookmark is cleared
    // instead. Any bookmark bits of n's old row go, and the bookmark bits of the new row are
    // replaced by n's; with word wrap the bookmark goes to the first row of the line.
    TBookmarkChange Set(TTextStore& store, int n, int64_t row, int column, bool wordWrap);
    // The row marked by bookmark n and its column; false when it marks none.
    bool Get(TTextStore& store, int n, TRowSpot& row, int& column);

    void TextInserted(int64_t position, int64_t length) override;
    void TextDeleted(int64_t position, int64_t length) override;
    void TextCleared() override;

private:
    enum class THint : uint8_t { Unknown, At, Gone };
    TRowSpot find(TTextStore& store, int n);
    TRowSpot walk(TTextStore& store, int n);
    void placed(int n, int64_t rowStart);
    void clearRowBits(const TRowSpot& spot, TBookmarkChange& change);

    std::array<THint, kCount> m_hint{};
    std::array<int64_t, kCount> m_at{};
};
