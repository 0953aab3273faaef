#include "editor/view/Reflow.h"

#include "editor/edit/TabStops.h"
#include "editor/text/TextStore.h"

#include <algorithm>

int WrapWidthFor(int wrapAtColumn, int charWidth, int clientWidth, int textLeft, int scrollBarWidth)
{
    const int width = wrapAtColumn > 0 ? wrapAtColumn * charWidth : clientWidth - textLeft - 2 * scrollBarWidth;
    return width < 1 ? 8 : width;
}

namespace {

bool wrapsLine(const char* text, int length, const TWrapRule& rule)
{
    if (!rule.WordWrap || length == 0)
        return false;
    return !(rule.UseOverride && rule.OverrideChars.find(text[0]) != std::string::npos);
}

// Rows of at most 2047 bytes, the store's own cut.
void cutPlain(int length, std::vector<int>& rows)
{
    for (int at = 0; at < length; at += kMaxRowLength)
        rows.push_back(std::min(length - at, kMaxRowLength));
}

// Where the row drawn so far ends: its column, for the tab stops, and its width in pixels.
struct TPen
{
    int Column = 0;
    double X = 0;

    void Advance(unsigned char c, const TWrapRule& rule)
    {
        const double cell = std::max(rule.CharWidth, 1);
        if (c == kLineBreak)
            return; // a line break takes no room
        const bool tab = c == '\t' && rule.Tabs;
        Column = tab ? rule.Tabs->NextStop(Column) : Column + 1;
        if (!rule.Advances)
            X = Column * cell;
        else if (tab)
            X = std::max(Column * cell, X + (*rule.Advances)[' ']);
        else
            X += (*rule.Advances)[c];
    }
};

// The end of the characters from p that fit the wrap width (the first few always do).
int fittingEnd(const char* text, int p, int limit, const TWrapRule& rule)
{
    TPen pen;
    int i = p;
    for (; i - p < limit; ++i) {
        TPen next = pen;
        next.Advance(static_cast<unsigned char>(text[i]), rule);
        if (i - p >= TWrapRule::kFitFreeChars && next.X > rule.WrapWidth)
            break;
        pen = next;
    }
    return i;
}

// Moves a break so that blanks end the row: over the delimiters at the break, else back to just
// after the last delimiter before it; a row without one breaks where it filled up.
int wordBreak(const char* text, int p, int breakAt, int length, const TWrapRule& rule)
{
    const int limit = p + std::min(length - p, kMaxRowLength);
    if (rule.WordBreakProc) {
        const int asked = rule.WordBreakProc(text + p, breakAt - p, length - p, 0);
        return asked >= 1 && p + asked <= limit ? p + asked : breakAt;
    }
    if (IsWrapDelimiter(static_cast<unsigned char>(text[breakAt]))) {
        while (breakAt < limit && IsWrapDelimiter(static_cast<unsigned char>(text[breakAt])))
            ++breakAt;
        return breakAt;
    }
    int after = breakAt;
    while (after > p && !IsWrapDelimiter(static_cast<unsigned char>(text[after - 1])))
        --after;
    return after > p ? after : breakAt;
}

} // namespace

void SplitLine(const char* text, int length, const TWrapRule& rule, std::vector<int>& rows)
{
    rows.clear();
    if (length <= 0)
        return;
    if (!wrapsLine(text, length, rule)) {
        cutPlain(length, rows);
        return;
    }
    for (int p = 0; p < length;) {
        const int limit = std::min(length - p, kMaxRowLength);
        int end = fittingEnd(text, p, limit, rule);
        if (end < length)
            end = wordBreak(text, p, end, length, rule);
        rows.push_back(end - p);
        p = end;
    }
}

namespace {

// The rows of the line starting at a spot.
struct TLineRows
{
    TTextRow* Last = nullptr;
    int64_t Count = 0;
    int64_t Bytes = 0;
};

TLineRows rowsOfLine(TTextRow* first, std::vector<int>& lengths)
{
    lengths.clear();
    TLineRows line{first, 1, first->Length};
    lengths.push_back(first->Length);
    while (line.Last->Next && line.Last->Next->IsContinuation()) {
        line.Last = line.Last->Next;
        ++line.Count;
        line.Bytes += line.Last->Length;
        lengths.push_back(line.Last->Length);
    }
    return line;
}

// Whether a single-row line stands as it is: the common case, decided without copying.
bool singleRowStands(const TTextRow& row, const TWrapRule& rule)
{
    if (!wrapsLine(row.Text(), row.Length, rule))
        return true; // a single row is at most 2047 bytes already
    const int textLength = row.TextLength();
    if (textLength <= TWrapRule::kFitFreeChars)
        return true;
    if (rule.Advances) {
        TPen pen;
        for (int i = 0; i < textLength; ++i)
            pen.Advance(static_cast<unsigned char>(row.Text()[i]), rule);
        return pen.X <= rule.WrapWidth;
    }
    const int columns = (row.Flags & rfHasTab) && rule.Tabs ? rule.Tabs->ColumnAfter(row.Text(), textLength)
                                                             : textLength;
    return static_cast<int64_t>(columns) * std::max(rule.CharWidth, 1) <= rule.WrapWidth;
}

// Re-cuts only the rows between the first and the last that differ, so typing in a long
// wrapped paragraph re-makes the rows from the edit on, not the whole paragraph.
void recutDifference(TTextStore& store, TRowSpot spot, const std::vector<int>& current,
                     const std::vector<int>& wanted)
{
    size_t head = 0;
    while (head < current.size() && head < wanted.size() && current[head] == wanted[head]) {
        spot.Start += spot.Row->Length;
        spot.Index += 1;
        spot.Row = spot.Row->Next;
        ++head;
    }
    size_t tail = 0;
    while (tail < current.size() - head && tail < wanted.size() - head &&
           current[current.size() - 1 - tail] == wanted[wanted.size() - 1 - tail])
        ++tail;
    const std::vector<int> lengths(wanted.begin() + static_cast<std::ptrdiff_t>(head),
                                   wanted.end() - static_cast<std::ptrdiff_t>(tail));
    store.RecutRows(spot, static_cast<int64_t>(current.size() - head - tail), lengths);
}

// Lines whose rows change, one after another, are re-cut together: one splice of the row chain
// and its index instead of one per line. A run of a single line re-cuts only its rows that
// differ. A batch is cut at about a megabyte, so re-flowing a large document never holds a
// second copy of it.
class TRecutBatch
{
public:
    explicit TRecutBatch(TTextStore& store) : m_store(store) {}

    static constexpr int64_t kMaxBytes = 1 << 20;

    bool Empty() const { return m_lines == 0; }
    bool Full() const { return m_bytes >= kMaxBytes; }
    void Add(const TRowSpot& lineStart, int64_t bytes, const std::vector<int>& current, const std::vector<int>& wanted)
    {
        if (m_lines++ == 0) {
            m_start = lineStart;
            m_current.clear();
            m_wanted.clear();
            m_bytes = 0;
        }
        m_bytes += bytes;
        m_current.insert(m_current.end(), current.begin(), current.end());
        m_wanted.insert(m_wanted.end(), wanted.begin(), wanted.end());
    }
    // Re-cuts the gathered lines; answers how many rows they gained (negative: lost).
    int64_t Flush()
    {
        if (m_lines == 1)
            recutDifference(m_store, m_start, m_current, m_wanted);
        else
            m_store.RecutRows(m_start, static_cast<int64_t>(m_current.size()), m_wanted);
        m_lines = 0;
        return static_cast<int64_t>(m_wanted.size()) - static_cast<int64_t>(m_current.size());
    }

private:
    TTextStore& m_store;
    TRowSpot m_start;
    std::vector<int> m_current;
    std::vector<int> m_wanted;
    int64_t m_lines = 0;
    int64_t m_bytes = 0;
};

} // namespace

TReflowResult Reflow(TTextStore& store, int64_t firstRow, int64_t lastRow, const TWrapRule& rule)
{
    TReflowResult result;
    const int64_t rowCount = store.RowCount();
    if (rowCount == 0)
        return result;
    if (firstRow < 0) {
        firstRow = 0;
        lastRow = rowCount - 1;
    }
    firstRow = std::clamp<int64_t>(firstRow, 0, rowCount - 1);
    lastRow = std::clamp<int64_t>(lastRow, firstRow, rowCount - 1);

    TRowSpot spot = store.RowByIndex(firstRow);
    while (spot.Row->IsContinuation() && spot.Row->Prev) {
        spot.Row = spot.Row->Prev;
        spot.Start -= spot.Row->Length;
        spot.Index -= 1;
    }
    result.FirstRow = spot.Index;

    std::vector<int> current;
    std::vector<int> wanted;
    std::string joined;
    TRecutBatch batch(store);
    int64_t oldIndex = spot.Index;
    while (spot.Row) {
        const TLineRows line = rowsOfLine(spot.Row, current);
        if (line.Count == 1 && singleRowStands(*spot.Row, rule)) {
            wanted = current;
        } else {
            joined.clear();
            for (const TTextRow* row = spot.Row;; row = row->Next) {
                joined.append(row->Text(), row->Length);
                if (row == line.Last)
                    break;
            }
            SplitLine(joined.data(), static_cast<int>(joined.size()), rule, wanted);
        }
        // The row after the line is not touched by re-cutting; only its index moves.
        TRowSpot next{line.Last->Next, spot.Start + line.Bytes, spot.Index + line.Count};
        const bool changed = wanted != current;
        if (changed) {
            batch.Add(spot, line.Bytes, current, wanted);
            ++result.LinesRecut;
        }
        result.RowsBefore += line.Count;
        result.RowsAfter += static_cast<int64_t>(wanted.size());
        oldIndex += line.Count;
        const bool last = oldIndex > lastRow || !next.Row;
        if ((!changed || last || batch.Full()) && !batch.Empty())
            next.Index += batch.Flush();
        if (last)
            break;
        spot = next;
    }
    return result;
}
