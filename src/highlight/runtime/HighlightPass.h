// The highlighting pass: runs a parser over the rows an edit may have changed and stores the
// token numbers in the rows' Attrs, stopping as soon as a row's tokens come out as they were.
// The parser state at a row start is rebuilt from a token number: the pass restarts at an
// anchor token found by walking back from the row before the start row. Nothing survives a
// pass but the rows' token bytes and flags, so the cost of a keystroke is the rows whose tokens
// changed plus two, never the document.
// A pass stops at a row whose new bytes equal its old ones unless the row carries
// rfPassStart, lies at or before the start row, is followed by a row without token bytes, or
// ends while the parser is in a bound state; container rescans never stop, and neither does a
// row whose last token continues into the next row.
#pragma once

#include "editor/text/TextRow.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <array>
#include <cstdint>
#include <functional>

class TTextStore;
class TParseCursor;

struct THighlightStats
{
    bool ran = false;          // tokens were read
    bool deferred = false;     // the parser was in another pass; the start row is kept
    int64_t rowsTokenised = 0; // rows completed by the pass
    int64_t rowsChanged = 0;   // rows whose token bytes changed
    int64_t tokens = 0;
};

class THighlightPass
{
public:
    static constexpr int64_t kNoStartRow = -1;

    explicit THighlightPass(TTextStore& store);

    void setParser(TSourceMemoParser* parser) { m_parser = parser; }
    TTextStore& store() const { return m_store; }
    TSourceMemoParser* parser() const { return m_parser; }

    // The editor on whose behalf the parser runs (passed to NextToken); may be null.
    TParserEditor* Editor = nullptr;
    // While set, a pass only forgets its start row (the control is switching documents).
    bool Suspended = false;
    // At most this many rows are completed by one pass (0: no limit). A pass that reaches the
    // limit marks the next row as where the following pass starts and keeps it as the start
    // row, so a view colours what it shows without walking the rest of a large document.
    int64_t RowLimit = 0;
    // The control sits in a designer: parsers that need the custom event read nothing.
    bool Designing = false;
    // Called with token -1 and positions -1 before a pass, once per token (the handler may
    // change the token stored) and with -2 after the pass. It must not edit the store.
    std::function<void(int& token, int64_t end, int64_t start)> OnTokenSeen;
    // Lets the message loop run while another editor holds the parser in a container scan.
    std::function<void()> WaitWhileBusy;

    // The row (index) where the next pass starts; kNoStartRow for none.
    void setStartRow(int64_t rowIndex) { m_startRow = rowIndex; }
    int64_t startRow() const { return m_startRow; }

    // Marks the row with rfPassStart and runs the pass from it.
    THighlightStats highlightFrom(int64_t rowIndex);
    // Marks the first row and runs the pass: the whole document when it has no token bytes.
    THighlightStats highlightAll() { return highlightFrom(0); }
    // Runs from the start row set before, when it carries rfReparse or rfPassStart.
    THighlightStats run();

private:
    struct Place
    {
        TTextRow* row = nullptr;
        int64_t rowStart = 0;
        int column = 0;
        int64_t counter = 0;
    };

    Place findRestart(TTextRow* row, int64_t rowStart, int& token) const;
    void tokenLoop(TParseCursor& in);
    void rescanContainer(TParseCursor& in, const Place& segment, int64_t segmentPosition);
    void storeToken(int token, int64_t length, bool showThrough);
    bool completeRow(bool stillStoring);
    void finishLastRow();
    void beginRow(const Place& place);
    void installBytes(TTextRow* row);
    bool waitUntilFree();
    void notify(int token);
    void endPass(int restartToken);

    TTextStore& m_store;
    TSourceMemoParser* m_parser = nullptr;
    int64_t m_startRow = kNoStartRow;

    // State of the running pass.
    Place m_at; // the row being filled; column = next byte to store
    bool m_filling = false;
    bool m_stored = false; // a token byte went into the row being filled
    bool m_stop = false;
    int64_t m_passStartIndex = 0; // row index where the running pass's start row stands
    int64_t m_resumeRow = kNoStartRow; // where the next pass starts when the limit stopped this one
    std::array<uint8_t, kMaxRowLength + 1> m_bytes{};
    THighlightStats m_stats;
};
