// The characters a search reads: a document seen as consecutive spans of bytes, so the matcher
// and the plain search run over the store's rows where they lie instead of over a copy. A span
// is the bytes of positions [Start, End); every position 0..Length-1 lies in exactly one.
#pragma once

#include "editor/text/TextRow.h"

#include <cstdint>
#include <string_view>

class TEdStream;
class TTextStore;

struct TTextSpan
{
    const char* Data = nullptr; // the byte of position Start
    int64_t Start = 0;
    int64_t End = 0;
    // The store row the span is, when it is one: readers then step to the neighbouring rows
    // themselves, without asking the source.
    const TTextRow* Row = nullptr;
};

class TTextSource
{
public:
    virtual ~TTextSource() = default;
    virtual int64_t Length() const = 0;
    // The span holding position; requires 0 <= position < Length.
    virtual TTextSpan SpanAt(int64_t position) = 0;
    // Spans handed out before may be stale (the rows were cut again while the search let the
    // window run); the source finds its place again by position.
    virtual void Invalidate() {}
    // A reader is done and was last on span (one this source handed out, or a row stepped to
    // from one): a source that keeps its place may keep this one, so that the next search,
    // which usually starts near where this one ended, needs no lookup.
    virtual void Keep(const TTextSpan& span) { (void)span; }
};

// A text held in one buffer, which the source does not own.
class TBufferTextSource final : public TTextSource
{
public:
    explicit TBufferTextSource(std::string_view text) : m_text(text) {}
    int64_t Length() const override { return static_cast<int64_t>(m_text.size()); }
    TTextSpan SpanAt(int64_t) override
    {
        return {m_text.data(), 0, static_cast<int64_t>(m_text.size())};
    }

private:
    std::string_view m_text;
};

// The document behind a TEdStream, one row per span. A jump positions the stream through the
// store's index; stepping on to a neighbouring row follows the row links (the source keeps
// the row it is on), so a scan through the document costs no index lookups. The kept row
// stays valid while the store's edit count does not change, so a source can serve search
// after search, each starting where the last one ended, without a lookup.
class TEdStreamTextSource final : public TTextSource
{
public:
    TEdStreamTextSource(TEdStream& stream, const TTextStore& store);
    int64_t Length() const override { return m_length; }
    TTextSpan SpanAt(int64_t position) override;
    void Invalidate() override;
    void Keep(const TTextSpan& span) override;
    // Drops the kept row and takes the length afresh when the store changed since.
    void Refresh();

private:
    TTextSpan spanOf(const TTextRow* row, int64_t start);

    TEdStream& m_stream;
    const TTextStore& m_store;
    uint64_t m_seenEdits = 0;
    int64_t m_length = 0;
    const TTextRow* m_row = nullptr; // the row of the last span; null when none
    int64_t m_rowStart = 0;
};

// Reads single characters through a source, keeping the last span so that reads near each
// other cost a bounds test. Positions outside the document read as -1.
class TTextReader
{
public:
    explicit TTextReader(TTextSource& source) : m_source(&source), m_length(source.Length()) {}
    // Hands the kept span back to the source (see TTextSource::Keep).
    ~TTextReader()
    {
        if (m_span.Row)
            m_source->Keep(m_span);
    }
    TTextReader(const TTextReader&) = delete;
    TTextReader& operator=(const TTextReader&) = delete;

    int At(int64_t position)
    {
        if (static_cast<uint64_t>(position - m_span.Start) <
            static_cast<uint64_t>(m_span.End - m_span.Start))
            return static_cast<unsigned char>(m_span.Data[position - m_span.Start]);
        return slowAt(position);
    }
    // The span holding position (0 <= position < Length), which becomes the kept span.
    const TTextSpan& SpanAt(int64_t position)
    {
        if (position >= m_span.Start && position < m_span.End)
            return m_span;
        if (!m_span.Row || !stepRow(position))
            m_span = m_source->SpanAt(position);
        return m_span;
    }
    // Takes span (one of the same source's, valid now) as the kept span, so reads near a
    // place another reader has found cost no lookup.
    void Adopt(const TTextSpan& span)
    {
        if (span.Data)
            m_span = span;
    }
    int64_t Length() const { return m_length; }
    TTextSource& Source() const { return *m_source; }
    // Forgets the kept span (after the source was invalidated).
    void Forget() { m_span = {}; }

private:
    int slowAt(int64_t position);
    bool stepRow(int64_t position);

    TTextSource* m_source;
    int64_t m_length;
    TTextSpan m_span;
};
