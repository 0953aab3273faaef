// Writers that turn a range of the document into bytes: plain text with CR, CR LF or LF line
// ends, RTF and HTML. Each writes the rows between two offsets, cutting the first and last row
// at the bounds, into a sink that notices when the stream refuses bytes.
#pragma once

#include "editor/text/TextRow.h"

#include <cstdint>
#include <string>

class TStream;
class TStyleSource;

// Buffers output for a stream and counts what the stream accepted.
class TSaveSink
{
public:
    explicit TSaveSink(TStream& stream) : m_stream(stream) {}
    void Put(const char* bytes, size_t n);
    void Put(const std::string& text) { Put(text.data(), text.size()); }
    void Put(char c);
    void Flush();
    // True when the stream accepted fewer bytes than it was given.
    bool Refused() const { return m_refused; }
    int64_t Written() const { return m_written; }

private:
    TStream& m_stream;
    std::string m_buffer;
    int64_t m_written = 0;
    bool m_refused = false;
};

// A run of rows and the part of each to write: from the offset first in the row first, up to
// the document offset end.
struct TRowRange
{
    const TTextRow* First = nullptr;
    int64_t FirstStart = 0; // document offset of First's first character
    int64_t From = 0;       // document offset where writing starts
    int64_t End = 0;        // document offset where writing stops
};

enum class LineEnd { CR, CRLF, LF };

void WritePlainText(TSaveSink& sink, const TRowRange& range, LineEnd lineEnd);
void WriteRtf(TSaveSink& sink, const TRowRange& range, const TStyleSource& styles);
void WriteHtml(TSaveSink& sink, const TRowRange& range, const TStyleSource& styles);
