#include "glyphcast/core/TableFileWriter.h"

namespace {

class TLineWriter
{
public:
    explicit TLineWriter(TStream& out) : m_out(out) {}

    void endLine()
    {
        m_line += "\r\n";
        m_out.WriteBuffer(m_line.data(), int64_t(m_line.size()));
        m_line.clear();
        m_column = 0;
        m_holdsText = false;
    }

    void append(char c)
    {
        m_line += c;
        ++m_column;
        m_holdsText = true;
        if (m_column > BreakColumn && c == ',') {
            m_line += '_';
            endLine();
            m_line.assign(ContinuationIndent, ' ');
            m_column = ContinuationIndent;
        }
    }

    void finish()
    {
        if (m_holdsText)
            endLine();
    }

private:
    TStream& m_out;
    std::string m_line;
    int m_column = 0;
    bool m_holdsText = false; // the line has characters of the text, not just an indent
};

} // namespace

void writeTableText(const std::string& text, TStream& out, const WriteProgress& progress)
{
    TLineWriter writer(out);
    const size_t length = text.size();
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r') {
            writer.endLine();
            // Only a line feed belongs to the break; anything else is text and is kept.
            if (i + 1 < length && text[i + 1] == '\n')
                ++i;
        } else {
            writer.append(text[i]);
        }
        if (progress)
            progress(int((i + 1) * 100 / length));
    }
    writer.finish();
}
