// Reading the document through TEdStream and a text buffer through TFastMemoryStream.
#include "editor/text/EdStream.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/TextStore.h"

#include <gtest/gtest.h>

namespace {

// Rows "ab\r", "cde\r", "f": positions 0..7, length 8.
void fill(TTextStore& store)
{
    store.InsertText(0, "ab\rcde\rf");
}

} // namespace

TEST(EdStream, StepsForwardAndBackAcrossRows)
{
    TTextStore store;
    fill(store);
    TEdStream stream(store);
    std::string forward;
    while (!stream.AtEnd()) {
        forward += stream.CurrentChar();
        stream.Next();
    }
    EXPECT_EQ(forward, "ab\rcde\rf");
    EXPECT_EQ(stream.Position(), 8);
    EXPECT_EQ(stream.CurrentChar(), 0);
    stream.Next(); // stays at the end
    EXPECT_EQ(stream.Position(), 8);
    std::string backward;
    while (stream.Position() > 0) {
        stream.Prev();
        backward += stream.CurrentChar();
    }
    EXPECT_EQ(backward, "f\redc\rba");
    stream.Prev(); // stays at the start
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.CurrentChar(), 'a');
}

TEST(EdStream, SetPositionAndSeekClampAndLandOnTheRightRow)
{
    TTextStore store({2, 3, 8192, 4096});
    fill(store);
    TEdStream stream(store);
    stream.SetPosition(4);
    EXPECT_EQ(stream.CurrentChar(), 'd');
    EXPECT_EQ(stream.Row(), store.FirstRow()->Next);
    EXPECT_EQ(stream.OffsetInRow(), 1);
    stream.SetPosition(3); // a row start, reached from inside the same row
    EXPECT_EQ(stream.CurrentChar(), 'c');
    stream.SetPosition(-5);
    EXPECT_EQ(stream.Position(), 0);
    stream.SetPosition(500);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.Seek(-3, SeekOrigin::Current), 5);
    EXPECT_EQ(stream.CurrentChar(), 'e');
    EXPECT_EQ(stream.Seek(2, SeekOrigin::End), 6);
    EXPECT_EQ(stream.Seek(-1, SeekOrigin::End), 7);
    EXPECT_EQ(stream.CurrentChar(), 'f');
    EXPECT_EQ(stream.Seek(2, SeekOrigin::Beginning), 2);
    EXPECT_EQ(stream.CurrentChar(), '\r');
    EXPECT_EQ(stream.Size(), 8);
}

TEST(EdStream, ReadCopiesAcrossRowsUpToTheEnd)
{
    TTextStore store;
    fill(store);
    TEdStream stream(store);
    stream.SetPosition(1);
    char buffer[16] = {};
    EXPECT_EQ(stream.Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), "b\rcd");
    EXPECT_EQ(stream.CurrentChar(), 'e');
    EXPECT_EQ(stream.Read(buffer, 16), 3);
    EXPECT_EQ(std::string(buffer, 3), "e\rf");
    EXPECT_EQ(stream.Read(buffer, 16), 0);
}

TEST(EdStream, StartAtUsesTheGivenRowAndBase)
{
    TTextStore store;
    fill(store);
    TEdStream stream(store);
    TTextRow* second = store.FirstRow()->Next;
    stream.StartAt(second, 2, 3);
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(stream.CurrentChar(), 'e');
    stream.StartAt(second, 4, 3); // past the row: the next row's start
    EXPECT_EQ(stream.Position(), 7);
    EXPECT_EQ(stream.CurrentChar(), 'f');
}

TEST(EdStream, EmptyDocumentAndLongRows)
{
    TTextStore store;
    TEdStream empty(store);
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.CurrentChar(), 0);
    empty.Prev();
    EXPECT_EQ(empty.Position(), 0);

    store.InsertText(0, std::string(3000, 'x') + "\ry");
    TEdStream stream(store);
    stream.SetPosition(2047); // first character of the continuation row
    EXPECT_EQ(stream.OffsetInRow(), 0);
    stream.Prev();
    EXPECT_EQ(stream.Position(), 2046);
    EXPECT_EQ(stream.Row(), store.FirstRow());
    stream.SetPosition(3000);
    EXPECT_EQ(stream.CurrentChar(), '\r');
}

// A stream kept across edits read the rows it stood on after they were freed (AddressSanitizer
// reports it); it now carries on at the same offset of the edited text.
TEST(EdStream, StreamKeptAcrossAnEditReadFreedRows)
{
    TTextStore store;
    fill(store);
    TEdStream stream(store);
    stream.SetPosition(4); // 'd' of "cde\r"
    store.DeleteRange(1, 3); // "acde\rf": the first two rows joined into a new one
    EXPECT_EQ(stream.Position(), 4);
    EXPECT_EQ(stream.CurrentChar(), '\r');
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_STREQ(buffer, "\rf");
    EXPECT_TRUE(stream.AtEnd());

    store.InsertText(0, "new row\r"); // "new row\racde\rf": offset 6 is no longer the end
    EXPECT_FALSE(stream.AtEnd());
    stream.Prev();
    EXPECT_EQ(stream.Position(), 5);
    EXPECT_EQ(stream.CurrentChar(), 'o');
    store.DeleteRange(0, store.CharCount()); // every row freed
    store.InsertText(0, "xy");
    EXPECT_EQ(stream.Size(), 2);
    EXPECT_TRUE(stream.AtEnd()); // clamped to the shorter text
    stream.Prev();
    EXPECT_EQ(stream.CurrentChar(), 'y');
    store.InsertText(0, "w");
    stream.Next();
    EXPECT_EQ(stream.CurrentChar(), 'y');
}

TEST(ReadOnlyStreams, WritingFailsWithTheReadOnlyMessage)
{
    TTextStore store;
    TEdStream stream(store);
    try {
        stream.Write("x", 1);
        FAIL() << "write accepted";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot write to a read-only stream");
    }
    const char text[] = "abc\0def";
    TFastMemoryStream memory(text);
    EXPECT_EQ(memory.Size(), 3);
    EXPECT_THROW(memory.Write("x", 1), EStreamError);
    store.LoadFromStream(memory);
    EXPECT_EQ(store.GetText(), "abc");
}
