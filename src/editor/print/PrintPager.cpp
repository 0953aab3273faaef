#include "editor/print/PrintPager.h"

#include "editor/edit/EditorOptions.h"
#include "editor/print/PrintWrap.h"
#include "editor/text/TextStore.h"

#include <algorithm>

TPrintLines DocumentLines(const TTextStore& store)
{
    return {0, store.LineCount() - 1};
}

TPrintLines SelectionLines(TTextStore& store, int64_t start, int64_t end)
{
    const int64_t from = std::clamp<int64_t>(std::min(start, end), 0, store.CharCount());
    const int64_t to = std::clamp<int64_t>(std::max(start, end), 0, store.CharCount());
    TPrintLines lines;
    lines.First = store.LineOfRow(store.RowAt(from).Index);
    lines.Last = store.LineOfRow(store.RowAt(to).Index);
    if (to > from && store.LineStart(lines.Last).Start == to)
        --lines.Last;
    return lines;
}

namespace {

// The walk of one print: the page being filled and where the next row goes.
class TPager
{
public:
    TPager(const TPrintSettings& settings, TPrintSink& sink) : m_settings(settings), m_sink(sink) { beginPage(); }

    void print(TPrintedRow& row)
    {
        if (m_rowsOnPage > 0 && m_y + m_settings.LineHeight > m_band.Bottom)
            beginPage();
        row.Page = m_counts.Pages;
        row.Y = m_y;
        row.NumberLeft = m_band.Left;
        row.TextLeft = m_textLeft;
        row.Right = m_band.Right;
        m_sink.PrintRow(row);
        m_y += m_settings.LineHeight;
        ++m_rowsOnPage;
        ++m_counts.Rows;
    }

    int fit() const { return FittingColumns(m_band.Right, m_textLeft, m_settings.CharWidth); }
    const TPrintCounts& counts() const { return m_counts; }

private:
    void beginPage()
    {
        m_band = m_sink.BeginPage(++m_counts.Pages);
        m_y = m_band.Top;
        m_rowsOnPage = 0;
        m_textLeft = m_band.Left + ((m_settings.Options & smoPrintLineNos) ? 10 * m_settings.CharWidth : 0);
    }

    const TPrintSettings& m_settings;
    TPrintSink& m_sink;
    TPrintRect m_band;
    TPrintCounts m_counts;
    int m_y = 0;
    int m_textLeft = 0;
    int m_rowsOnPage = 0;
};

} // namespace

TPrintCounts PrintLines(const TTextStore& store, const TPrintLines& lines, const TPrintSettings& settings,
                        const TTabStops& tabs, TPrintSink& sink)
{
    TPager pager(settings, sink);
    if (lines.Last < lines.First)
        return pager.counts();
    TRowSpot spot = store.LineStart(lines.First);
    int64_t line = lines.First;
    bool startsLine = true;
    const bool wrap = settings.Options & smoPrintWrap;
    const bool numbered = settings.Options & smoPrintLineNos;
    while (spot.Row && line <= lines.Last) {
        const TTextRow& row = *spot.Row;
        const int length = row.TextLength();
        TPrintedRow printed;
        printed.Row = &row;
        printed.RowStart = spot.Start;
        // An empty row still prints as one empty printed row.
        for (int first = 0; first == 0 || first < length;) {
            const int end = wrap ? PrintedRowEnd(row.Text(), length, first, pager.fit(), tabs) : length;
            printed.First = first;
            printed.Count = end - first;
            printed.LineNumber = numbered && startsLine ? line + 1 : 0;
            pager.print(printed);
            startsLine = false;
            if (end <= first)
                break;
            first = end;
        }
        if (row.EndsLine()) {
            ++line;
            startsLine = true;
        }
        spot.Start += row.Length;
        spot.Index += 1;
        spot.Row = row.Next;
    }
    return pager.counts();
}
