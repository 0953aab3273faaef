#include "highlight/runtime/HighlightPass.h"

#include "editor/text/TextStore.h"
#include "highlight/runtime/ParseCursor.h"
#include "highlight/runtime/StoreCharSource.h"

#include <algorithm>
#include <cstring>

THighlightPass::THighlightPass(TTextStore& store) : m_store(store) {}

THighlightStats THighlightPass::highlightFrom(int64_t rowIndex)
{
    const TRowSpot spot = m_store.RowByIndex(std::max<int64_t>(rowIndex, 0));
    if (spot.Row) {
        spot.Row->Flags |= rfPassStart;
        m_startRow = spot.Index;
    } else {
        m_startRow = kNoStartRow;
    }
    return run();
}

void THighlightPass::notify(int token)
{
    if (OnTokenSeen)
        OnTokenSeen(token, token, token);
}

void THighlightPass::endPass(int restartToken)
{
    if (m_parser)
        m_parser->ResetState(restartToken);
    m_startRow = m_resumeRow;
    m_resumeRow = kNoStartRow;
    notify(-2);
}

THighlightStats THighlightPass::run()
{
    m_stats = {};
    if (Suspended) {
        m_startRow = kNoStartRow;
        return m_stats;
    }
    const TRowSpot spot = m_startRow >= 0 ? m_store.RowByIndex(m_startRow) : TRowSpot{};
    if (!m_parser || !spot.Row || spot.Index != m_startRow ||
        !(spot.Row->Flags & (rfReparse | rfPassStart))) {
        m_startRow = kNoStartRow;
        notify(-2);
        return m_stats;
    }
    if (m_parser->PassActive()) {
        m_stats.deferred = true; // the running pass owns the parser's scan state
        return m_stats;
    }
    int restartToken = 0;
    m_passStartIndex = spot.Index;
    m_resumeRow = kNoStartRow;
    const Place restart = findRestart(spot.Row, spot.Start, restartToken);
    notify(-1);
    m_parser->SetPassActive(true);
    try {
        TStoreCharSource source(m_store);
        TParseCursor in(source);
        in.startAt(TStoreCharSource::rowChunk(restart.row, restart.rowStart), restart.column);
        beginRow(restart);
        m_stop = false;
        m_parser->ResetState(restartToken);
        const bool needsEvent =
            m_parser->UsesCustomRecognizers() && (!m_parser->OnCustomParse || Designing);
        if (!needsEvent) {
            tokenLoop(in);
            finishLastRow();
        }
    } catch (...) {
        m_parser->SetPassActive(false);
        endPass(restartToken);
        throw;
    }
    m_parser->SetPassActive(false);
    endPass(restartToken);
    return m_stats;
}

// Walks back from the end of the row before the start row to the nearest anchor token and
// then to the first character of that token's run.
THighlightPass::Place THighlightPass::findRestart(TTextRow* row, int64_t rowStart, int& token) const
{
    Place at{row, rowStart, 0, 0};
    token = 0;
    if (row->Prev) {
        at.row = row->Prev;
        at.rowStart -= at.row->Length;
        at.counter = -1;
    }
    if (!at.row->HasAttrs())
        return at;
    const ParserStateSet anchors = m_parser->GetAnchorSet();
    if (anchors.contains(0) && at.row->AttrAt(0) == 0)
        return at;
    // The token bytes of the row being walked.
    uint8_t tokens[kMaxRowLength];
    at.row->CopyAttrs(tokens);
    int i = at.row->Length - 1;
    while (!anchors.contains(tokens[i])) {
        if (--i >= 0)
            continue;
        TTextRow* previous = at.row->Prev;
        if (!previous || !previous->HasAttrs())
            return at; // no anchor: restart at this row with token 0
        at.row = previous;
        at.rowStart -= previous->Length;
        --at.counter;
        i = previous->Length - 1;
        previous->CopyAttrs(tokens);
    }
    token = tokens[i];
    for (;;) {
        if (i > 0) {
            if (tokens[i - 1] != token)
                break;
            --i;
            continue;
        }
        TTextRow* previous = at.row->Prev;
        if (!previous || !previous->HasAttrs() || previous->AttrAt(previous->Length - 1) != token)
            break;
        at.row = previous;
        at.rowStart -= previous->Length;
        --at.counter;
        i = previous->Length - 1;
        previous->CopyAttrs(tokens);
    }
    at.column = i;
    return at;
}

void THighlightPass::beginRow(const Place& place)
{
    m_at = place;
    TTextRow* row = place.row;
    row->CopyAttrs(m_bytes.data()); // zeros when the row has none
    m_filling = true;
    m_stored = false;
}

bool THighlightPass::waitUntilFree()
{
    while (m_parser->IsBusy()) {
        if (!WaitWhileBusy)
            return false;
        WaitWhileBusy();
    }
    return true;
}

void THighlightPass::tokenLoop(TParseCursor& in)
{
    while (!in.atEnd() && !m_stop) {
        const Place segment = m_at;
        const int64_t segmentPosition = in.position();
        if (!waitUntilFree())
            break;
        do {
            const bool wasContainer = m_parser->InContainer();
            const int64_t start = in.position();
            int64_t length = 0;
            int token = m_parser->NextToken(Editor, in, length);
            if (length <= 0) {
                in.next();
                length = 1;
            }
            if (OnTokenSeen)
                OnTokenSeen(token, in.position(), start);
            ++m_stats.tokens;
            m_stats.ran = true;
            if (!wasContainer && m_parser->InContainer()) {
                storeToken(token & 255, length, false);
                rescanContainer(in, segment, segmentPosition);
            } else {
                storeToken(token & 255, length, wasContainer);
            }
        } while (m_parser->InContainer() && !in.atEnd());
    }
}

// The container token is in place; its row keeps rfReparse, and the text from the segment
// start is read again in container mode so inner tokens colour over it.
void THighlightPass::rescanContainer(TParseCursor& in, const Place& segment,
                                     int64_t segmentPosition)
{
    if (m_filling && m_at.row) {
        installBytes(m_at.row);
        m_at.row->Flags |= rfReparse | rfRepaint;
    }
    in.setPosition(segmentPosition);
    beginRow({segment.row, segment.rowStart, 0, segment.counter});
    m_at.column = segment.column;
    m_stop = false;
}

void THighlightPass::storeToken(int token, int64_t length, bool showThrough)
{
    while (length > 0 && m_filling) {
        TTextRow* row = m_at.row;
        const int n = static_cast<int>(std::min<int64_t>(length, row->Length - m_at.column));
        if (!(showThrough && token == 0))
            std::memset(m_bytes.data() + m_at.column, token, static_cast<size_t>(n));
        m_at.column += n;
        length -= n;
        m_stored = true;
        if (m_at.column >= row->Length && !completeRow(length > 0))
            return;
    }
}

void THighlightPass::installBytes(TTextRow* row)
{
    if (!row->AttrsEqual(m_bytes.data())) {
        m_store.SetAttrs(row, m_bytes.data());
        ++m_stats.rowsChanged;
    }
}

// The row is full: keep its new bytes and move to the next row, or stop when the bytes came
// out as they were. Returns whether storing can go on in a next row.
// A row whose last token runs on into the next row never stops the pass: its end is no token
// boundary, so equal bytes say nothing about the state there, and stopping would leave the
// rest of the next row with its old bytes.
bool THighlightPass::completeRow(bool stillStoring)
{
    TTextRow* row = m_at.row;
    const bool equal = row->AttrsEqual(m_bytes.data());
    if (equal && !stillStoring && !m_parser->InContainer()) {
        const bool mustGoOn = (row->Flags & rfPassStart) || m_at.counter <= 0 || !row->Next ||
                              !row->Next->HasAttrs() || m_parser->InBoundState();
        if (!mustGoOn)
            m_stop = true;
    }
    ++m_stats.rowsTokenised;
    if (m_stop) {
        m_filling = false; // equal bytes: the row keeps its old ones
        return false;
    }
    installBytes(row);
    row->Flags = (row->Flags & ~(rfReparse | rfPassStart)) | rfRepaint;
    if (!row->Next) {
        m_stop = true;
        m_filling = false;
        return false;
    }
    if (RowLimit > 0 && m_stats.rowsTokenised >= RowLimit) {
        row->Next->Flags |= rfPassStart | rfReparse;
        m_resumeRow = m_passStartIndex + m_at.counter + 1;
        m_stop = true;
        m_filling = false;
        return false;
    }
    beginRow({row->Next, m_at.rowStart + row->Length, 0, m_at.counter + 1});
    return true;
}

// After the loop: a row that received some bytes keeps them.
void THighlightPass::finishLastRow()
{
    if (!m_filling || !m_stored)
        return;
    TTextRow* row = m_at.row;
    ++m_stats.rowsTokenised;
    const bool changed = !row->AttrsEqual(m_bytes.data());
    installBytes(row);
    if (changed)
        row->Flags |= rfRepaint;
    row->Flags &= ~(rfReparse | rfPassStart);
    m_filling = false;
}
