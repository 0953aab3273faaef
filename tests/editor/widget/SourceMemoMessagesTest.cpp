// Round trips of every message the control answers: what a host sends must reach the store,
// the selection, the undo log and the view, and what it reads must match them.
#include "MemoFixture.h"

#include "editor/edit/StoreUndoStack.h"

#include "base/Stream.h"

#include <QApplication>
#include <QClipboard>
#include <QStringList>

#include <cstring>
#include <memory>
#include <vector>

using Messages = MemoFixture;

TEST_F(Messages, WholeTextInEitherLineStyle)
{
    load("ab\r\ncd\ne");
    EXPECT_EQ(stored(), "ab\rcd\re");
    select(1, 4);
    char buffer[32];
    EXPECT_EQ(send(WM_GETTEXTLENGTH), 9);
    EXPECT_EQ(send(WM_GETTEXT, sizeof buffer, ptr(buffer)), 9);
    EXPECT_STREQ(buffer, "ab\r\ncd\r\ne");
    // A short buffer gets what fits and its NUL.
    EXPECT_EQ(send(WM_GETTEXT, 4, ptr(buffer)), 3);
    EXPECT_STREQ(buffer, "ab\r");
    EXPECT_EQ(send(WM_GETTEXT, 0, ptr(buffer)), 0);
    memo.Store().SetLineStyle(lsLF);
    EXPECT_EQ(send(WM_GETTEXTLENGTH), 7);
    EXPECT_EQ(send(WM_GETTEXT, sizeof buffer, ptr(buffer)), 7);
    EXPECT_STREQ(buffer, "ab\rcd\re");
    EXPECT_EQ(selection(), (TSelectionPair{1, 4})); // reading leaves the selection
    EXPECT_EQ(send(WM_SETTEXT, 0, 0), 1);
    EXPECT_EQ(memo.Store().CharCount(), 0);
    expectSound();
}

TEST_F(Messages, DialogCodeFollowsWantTab)
{
    EXPECT_EQ(send(WM_GETDLGCODE), DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB);
    memo.SetWantTab(false);
    EXPECT_EQ(send(WM_GETDLGCODE), DLGC_WANTCHARS | DLGC_WANTARROWS);
}

TEST_F(Messages, EditSelectionMessages)
{
    load("hello\r\nworld");
    send(EM_SETSEL, 0, -1);
    int64_t anchor = -1, caret = -1;
    const TLResult packed = send(EM_GETSEL, reinterpret_cast<TWParam>(&anchor), ptr(&caret));
    EXPECT_EQ(anchor, 0);
    EXPECT_EQ(caret, 11);
    EXPECT_EQ(packed, static_cast<TLResult>(11LL << 32));
    send(EM_SETSEL, 8, 3);
    EXPECT_EQ(selection(), (TSelectionPair{8, 3}));
    send(EM_SETSEL, 2, -1); // to the end
    EXPECT_EQ(selection(), (TSelectionPair{2, 11}));
    send(EM_SETSEL, static_cast<TWParam>(-1), 0); // drops the selection, caret stays
    EXPECT_EQ(selection(), (TSelectionPair{11, 11}));
    send(EM_SETSEL, 500, 600);
    EXPECT_EQ(selection(), (TSelectionPair{11, 11}));
}

TEST_F(Messages, SelectionGetSetClampsAndSelectsAll)
{
    load("abc\rdef");
    select(-1, 0);
    EXPECT_EQ(selection(), (TSelectionPair{0, 7}));
    select(9, -4);
    EXPECT_EQ(selection(), (TSelectionPair{7, 0}));
    EXPECT_EQ(send(SM_SELECTION, smSet, 0), 0); // no pair, nothing read or written
    EXPECT_EQ(selection(), (TSelectionPair{7, 0}));
    std::string text;
    EXPECT_EQ(send(SM_GETSELTEXT, smfCRLF, ptr(&text)), 8);
    EXPECT_EQ(text, "abc\r\ndef");
    send(SM_GETSELTEXT, smfLF, ptr(&text));
    EXPECT_EQ(text, "abc\ndef");
    send(SM_GETSELTEXT, smfText, ptr(&text));
    EXPECT_EQ(text, "abc\rdef");
}

TEST_F(Messages, RowQueries)
{
    EXPECT_EQ(send(EM_GETLINECOUNT), 1); // an empty document still has its one row
    EXPECT_EQ(send(EM_LINEINDEX, 0), 0);
    load("one\r\ntwo\r\n");
    EXPECT_EQ(send(EM_GETLINECOUNT), 2);
    EXPECT_EQ(send(EM_LINEINDEX, 1), 4);
    EXPECT_EQ(send(EM_LINEINDEX, 2), 8); // the empty line after the final break
    EXPECT_EQ(send(EM_LINEINDEX, 3), -1);
    EXPECT_EQ(send(EM_LINELENGTH, 5), 3);
    EXPECT_EQ(send(EM_LINELENGTH, 8), 0);
    EXPECT_EQ(send(EM_LINEFROMCHAR, 3), 0);
    EXPECT_EQ(send(EM_LINEFROMCHAR, 4), 1);
    select(6, 6);
    EXPECT_EQ(send(EM_LINEINDEX, static_cast<TWParam>(-1)), 4);
    EXPECT_EQ(send(EM_LINEFROMCHAR, static_cast<TWParam>(-1)), 1);
    char buffer[16];
    const uint16_t capacity = 2;
    std::memcpy(buffer, &capacity, sizeof capacity);
    EXPECT_EQ(send(EM_GETLINE, 1, ptr(buffer)), 2);
    EXPECT_EQ(std::string(buffer, 2), "tw");
    const uint16_t roomy = sizeof buffer;
    std::memcpy(buffer, &roomy, sizeof roomy);
    EXPECT_EQ(send(EM_GETLINE, 0, ptr(buffer)), 3);
    EXPECT_EQ(std::string(buffer, 3), "one");
    EXPECT_EQ(send(EM_GETLINE, 2, ptr(buffer)), 0);
}

TEST_F(Messages, ReplaceUndoRedoAndModified)
{
    load("abc");
    EXPECT_EQ(send(EM_GETMODIFY), 0);
    EXPECT_EQ(send(EM_CANUNDO), 0);
    select(1, 2);
    send(EM_REPLACESEL, 0, ptr("XY\nZ"));
    EXPECT_EQ(stored(), "aXY\rZc");
    EXPECT_EQ(send(EM_GETMODIFY), 1);
    EXPECT_EQ(send(SM_MODIFIED), 1);
    select(0, 1);
    send(SM_REPLACESEL, 0, 0); // null deletes
    EXPECT_EQ(stored(), "XY\rZc");
    EXPECT_EQ(send(EM_CANUNDO), 1);
    EXPECT_EQ(send(EM_UNDO), 1);
    EXPECT_EQ(stored(), "aXY\rZc");
    EXPECT_EQ(send(WM_UNDO), 1);
    EXPECT_EQ(stored(), "abc");
    EXPECT_EQ(send(EM_GETMODIFY), 0);
    EXPECT_EQ(send(SM_CANREDO), 1);
    EXPECT_EQ(send(SM_REDO), 1);
    EXPECT_EQ(stored(), "aXY\rZc");
    EXPECT_EQ(send(SM_MODIFIED, smSet, 1), 1); // setting True changes nothing
    EXPECT_EQ(send(EM_CANUNDO), 1);
    EXPECT_EQ(send(SM_MODIFIED, smSet, 0), 0); // setting False clears the log
    EXPECT_EQ(send(EM_CANUNDO), 0);
    send(EM_REPLACESEL, 0, ptr("!"));
    send(EM_EMPTYUNDOBUFFER);
    EXPECT_EQ(send(EM_CANUNDO), 0);
    EXPECT_EQ(send(EM_GETMODIFY), 0);
    expectSound();
}

TEST_F(Messages, StreamsInsertAndSaveTheSelection)
{
    load("ab");
    select(1, 1);
    const std::string insert = "1\r\n2";
    TReadOnlyMemoryStream in(insert.data(), static_cast<int64_t>(insert.size()));
    send(SM_LOADSTREAM, 0, ptr(&in));
    EXPECT_EQ(stored(), "a1\r2b");
    EXPECT_EQ(send(EM_CANUNDO), 1);
    select(0, 5);
    const std::vector<std::pair<TWParam, std::string>> plain{
        {smfText, "a1\r2b"}, {smfCRLF, "a1\r\n2b"}, {smfLF, "a1\n2b"}};
    for (const auto& [format, expected] : plain) {
        TMemoryStream out;
        EXPECT_EQ(send(SM_SAVESTREAM, format, ptr(&out)), static_cast<TLResult>(expected.size()));
        EXPECT_EQ(out.AsString(), expected) << format;
    }
    TMemoryStream rtf;
    send(SM_SAVESTREAM, smfRTF, ptr(&rtf));
    EXPECT_EQ(rtf.AsString().rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.AsString().find("a1\\line"), std::string::npos);
    TMemoryStream html;
    send(SM_SAVESTREAM, smfHTML, ptr(&html));
    EXPECT_EQ(html.AsString().rfind("<HTML>", 0), 0u);
    EXPECT_EQ(send(SM_SAVESTREAM, smfText, 0), 0);
}

TEST_F(Messages, OptionsAndPaintLock)
{
    EXPECT_EQ(send(SM_OPTIONS), static_cast<TLResult>(kDefaultOptionWord));
    const uint32_t word = smoAutoIndent | smoUseTAB;
    EXPECT_EQ(send(SM_OPTIONS, smSet, word), static_cast<TLResult>(word));
    EXPECT_EQ(memo.Options(), word);
    EXPECT_EQ(send(SM_LOCKPAINT), 0);
    EXPECT_EQ(send(SM_LOCKPAINT, smSet, 1), 1);
    EXPECT_FALSE(memo.viewport()->updatesEnabled());
    send(WM_SETREDRAW, 1); // the lock still holds
    EXPECT_FALSE(memo.viewport()->updatesEnabled());
    EXPECT_EQ(send(SM_LOCKPAINT, smSet, 0), 0);
    EXPECT_TRUE(memo.viewport()->updatesEnabled());
    send(WM_SETREDRAW, 0);
    EXPECT_FALSE(memo.viewport()->updatesEnabled());
    send(WM_SETREDRAW, 1);
    EXPECT_TRUE(memo.viewport()->updatesEnabled());
}

TEST_F(Messages, ScrollingRowsAndColumns)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(300, static_cast<char>('a' + i % 26)) + "\r\n";
    load(text);
    EXPECT_EQ(send(SM_TOPROW, smSet, 40), 40);
    EXPECT_EQ(send(EM_GETFIRSTVISIBLELINE), 40);
    send(EM_LINESCROLL, 5, -10);
    EXPECT_EQ(send(SM_TOPROW), 30);
    EXPECT_EQ(send(SM_LEFTCOL), 5);
    EXPECT_EQ(send(SM_LEFTCOL, smSet, 20), 20);
    EXPECT_EQ(memo.LeftCol(), 20);
    // Turning word wrap on or off starts again at the left edge.
    send(SM_OPTIONS, smSet, memo.Options() | smoWordWrap);
    EXPECT_EQ(send(SM_LEFTCOL), 0);
    send(SM_OPTIONS, smSet, memo.Options() & ~static_cast<uint32_t>(smoWordWrap));
    select(90 * 302 + 10, 90 * 302 + 10);
    EXPECT_EQ(send(EM_SCROLLCARET), 1);
    const int64_t top = send(SM_TOPROW);
    EXPECT_LE(top, 90);
    EXPECT_GT(top + memo.VisibleRows(), 90);
}

TEST_F(Messages, PositionsAndPoints)
{
    load("abcdef\r\nxyz");
    QPoint point;
    const TLResult packed = send(EM_POSFROMCHAR, 9, ptr(&point));
    EXPECT_EQ(point, memo.PosFromChar(9));
    EXPECT_EQ(packed & 0xFFFF, point.x());
    EXPECT_EQ((packed >> 16) & 0xFFFF, point.y());
    EXPECT_GT(point.y(), 0);
    const TLParam at = (point.x() + 1) | (static_cast<TLParam>(point.y() + 1) << 16);
    EXPECT_EQ(send(EM_CHARFROMPOS, 0, at), 9);
    EXPECT_EQ(send(EM_CHARFROMPOS, 0, 0), -1); // the gutter is not text
    EXPECT_EQ(send(EM_POSFROMCHAR, 99), -1);
}

TEST_F(Messages, ClipboardMessages)
{
    load("copy me");
    select(0, 4);
    send(WM_COPY);
    EXPECT_EQ(QApplication::clipboard()->text(), "copy");
    EXPECT_EQ(send(EM_CANPASTE), 1);
    EXPECT_EQ(send(EM_CANPASTE, CF_TEXT), 1);
    EXPECT_EQ(send(EM_CANPASTE, 2), 0);
    select(5, 7);
    send(WM_CUT);
    EXPECT_EQ(stored(), "copy ");
    EXPECT_EQ(QApplication::clipboard()->text(), "me");
    select(0, 0);
    send(WM_PASTE);
    EXPECT_EQ(stored(), "mecopy ");
    QApplication::clipboard()->clear();
    EXPECT_EQ(send(EM_CANPASTE), 0);
}

TEST_F(Messages, BlockIndentAndUnindent)
{
    load("a\r\nb\r\nc");
    select(0, 4);
    send(SM_INDENT, 2);
    EXPECT_EQ(stored(), "  a\r  b\rc");
    send(SM_UNINDENT, 1);
    EXPECT_EQ(stored(), " a\r b\rc");
    memo.SetOptions(memo.Options() | smoUseTAB);
    send(SM_INDENT, 1, 1); // TABs allowed
    EXPECT_EQ(stored(), "\t a\r\t b\rc");
    expectSound();
}

TEST_F(Messages, TokenBytesByRowRange)
{
    load("ab\r\ncd\r\ne");
    std::vector<uint8_t> bytes;
    EXPECT_EQ(send(SM_GETATTRS, 0, ptr(&bytes)), 7);
    EXPECT_EQ(bytes, std::vector<uint8_t>(7, 0)); // not highlighted yet
    const std::vector<uint8_t> tokens{5, 6, 7};
    const TWParam secondRow = 1 | (TWParam{1} << 32);
    EXPECT_EQ(send(SM_SETATTRS, secondRow, ptr(&tokens)), 3);
    EXPECT_TRUE(memo.Store().RowByIndex(1).Row->Flags & rfReparse);
    EXPECT_EQ(send(SM_GETATTRS, 0, ptr(&bytes)), 7);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0, 0, 5, 6, 7, 0}));
    const TWParam lastTwo = 1 | (TWParam{9} << 32); // clamped to the last row
    EXPECT_EQ(send(SM_GETATTRS, lastTwo, ptr(&bytes)), 4);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{5, 6, 7, 0}));
    const std::vector<uint8_t> one{9};
    EXPECT_EQ(send(SM_SETATTRS, 0, ptr(&one)), 1); // copies only what is given
    send(SM_GETATTRS, 0, ptr(&bytes));
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(bytes[1], 0);
}

TEST_F(Messages, UndoStackExchange)
{
    load("x");
    send(EM_REPLACESEL, 0, ptr("y"));
    TStoreUndo* shown = nullptr;
    send(SM_UNDOSTACK, 0, ptr(&shown));
    EXPECT_EQ(shown, memo.Store().UndoStack());
    std::unique_ptr<TStoreUndo> fresh = std::make_unique<TStoreUndoStack>();
    TStoreUndo* given = fresh.get();
    send(SM_UNDOSTACK, smSet, ptr(&fresh));
    EXPECT_EQ(fresh.get(), shown); // the previous log comes back to the caller
    EXPECT_EQ(memo.Store().UndoStack(), given);
    EXPECT_EQ(send(EM_CANUNDO), 0);
    send(SM_UNDOSTACK, smSet, ptr(&fresh));
    EXPECT_EQ(send(EM_CANUNDO), 1);
    // A log the editing core cannot write into is refused and stays with the caller.
    struct ForeignLog : TStoreUndo
    {
        void Clear() override {}
    };
    std::unique_ptr<TStoreUndo> foreign = std::make_unique<ForeignLog>();
    EXPECT_EQ(send(SM_UNDOSTACK, smSet, ptr(&foreign)), 0);
    ASSERT_NE(foreign, nullptr);
    EXPECT_EQ(memo.Store().UndoStack(), shown);
    send(EM_UNDO);
    EXPECT_EQ(stored(), "x");
}

TEST_F(Messages, TextStoreExchangeKeepsBothDocuments)
{
    load("first");
    TTextStore* shown = nullptr;
    send(SM_TEXTSTORE, 0, ptr(&shown));
    EXPECT_EQ(shown, &memo.Store());
    auto other = std::make_unique<TTextStore>();
    TTextStore* second = other.get();
    EXPECT_EQ(send(SM_TEXTSTORE, 2, ptr(&other)), 0);
    EXPECT_EQ(&memo.Store(), shown);
    send(SM_TEXTSTORE, 1, ptr(&other));
    EXPECT_EQ(other.get(), shown); // the caller now owns the first store
    EXPECT_EQ(&memo.Store(), second);
    load("second");
    EXPECT_EQ(shown->GetText(), "first");
    send(SM_TEXTSTORE, 1, ptr(&other));
    EXPECT_EQ(stored(), "first");
    EXPECT_EQ(other->GetText(), "second");
    expectSound();
}

TEST_F(Messages, DroppedFilesNeedTheOptionAndAHandler)
{
    QStringList seen;
    QPoint where(7, 7);
    int calls = 0;
    memo.OnFilesDropped = [&](TSourceMemo*, const QStringList& names, QPoint at) {
        ++calls;
        seen = names;
        where = at;
    };
    const QStringList names{"a.bas", "b.bas"};
    const QPoint at(12, 30);
    memo.SetOptions(memo.Options() & ~static_cast<uint32_t>(smoProcessDroppedFiles));
    send(WM_DROPFILES, reinterpret_cast<TWParam>(&names), ptr(&at));
    EXPECT_EQ(calls, 0);
    memo.SetOptions(memo.Options() | smoProcessDroppedFiles);
    send(WM_DROPFILES, reinterpret_cast<TWParam>(&names), ptr(&at));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, names);
    EXPECT_EQ(where, at);
    send(WM_DROPFILES, reinterpret_cast<TWParam>(&names), 0);
    EXPECT_EQ(where, QPoint(-1, -1));
}

TEST_F(Messages, IdentityAndUnknownMessages)
{
    EXPECT_STREQ(reinterpret_cast<const char*>(send(SM_IDSTRING)), "<TSourceMemo>:3.00.39");
    EXPECT_TRUE(IsSourceMemoMessage(SM_TEXTSTORE));
    EXPECT_FALSE(IsSourceMemoMessage(0x0C03));
    load("keep");
    EXPECT_EQ(send(0x0C03, 1, 1), 0);
    EXPECT_EQ(stored(), "keep");
}
