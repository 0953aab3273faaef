// The main window's editor with word wrap and every character shown, on the example program
// with a long comment: the long line is cut into rows that fit the window, the rows after it
// keep their line numbers, and the caret's place survives a resize. With ZBX_SHOT_DIR set, the
// window is also saved there as PNG images for a person to look at.
#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"
#include "ProgramFixture.h"

#include <QScrollBar>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void saveShot(QWidget& window, const char* name)
{
    const char* folder = std::getenv("ZBX_SHOT_DIR");
    if (folder && *folder)
        window.grab().save(QString::fromUtf8(folder) + '/' + name);
}

} // namespace

using EditorWrapView = ProgramFixture;

TEST_F(EditorWrapView, ExampleWithALongCommentWrapsAndKeepsItsLineNumbers)
{
    writeIni("[PROGRAMMER]\r\nTYPE=EPIC\r\n");
    TempFolder& app = m_app;
    {
        std::string example = readFile(std::string(ZBX_SOURCE_DIR) + "/data/examples/THERMO.BAS");
        ASSERT_FALSE(example.empty());
        const std::string comment =
            "' The sensor is read every second; the value is averaged over the last eight readings, "
            "shown on the display with one decimal, and compared against both alarm limits before "
            "the relay is switched, so that a noisy reading never toggles the heater on its own.\r\n";
        const size_t secondLine = example.find('\n') + 1;
        example.insert(secondLine, comment);
        writeWholeFile(app.path("THERMO.BAS"), example);

        TEditorMainForm& form = start();
        form.showNormal();
        form.resize(900, 620);
        QTest::qWait(20);
        ASSERT_TRUE(form.OpenFile(QString::fromStdString(app.path("THERMO.BAS"))));
        TSourceMemo& memo = *form.SourceMemo1;
        const int64_t lines = memo.Store().RowCount();
        memo.SetOptions(memo.Options() | smoWordWrap | smoShowAllChars | smoLineNumbers);
        QTest::qWait(20);

        // The comment, line 2, now spans several rows, each within the window.
        const TRowSpot first = memo.Store().LineStart(1);
        const int64_t commentRow = first.Index;
        ASSERT_FALSE(first.Row->EndsLine());
        int64_t rowsOfComment = 1;
        for (const TTextRow* row = first.Row; !row->EndsLine(); row = row->Next)
            ++rowsOfComment;
        EXPECT_GE(rowsOfComment, 2);
        const int columns = (memo.viewport()->width() - memo.TextLeft()) / memo.CharWidth();
        for (const TTextRow* row = first.Row; row != first.Row->Next->Next->Next && row; row = row->Next) {
            const std::string text(row->Text(), static_cast<size_t>(row->TextLength()));
            EXPECT_LE(static_cast<int>(text.find_last_not_of(' ') + 1), columns);
        }
        EXPECT_EQ(memo.Store().RowCount(), lines + rowsOfComment - 1);
        // Every row of the comment is coloured as a comment, and the host hears the tokens.
        int64_t tokensSeen = 0;
        bool spansSound = true;
        memo.OnTokenSeen = [&](TSourceMemo*, int& token, int64_t end, int64_t start) {
            if (token < 0)
                return; // the frame of a pass
            ++tokensSeen;
            spansSound = spansSound && start < end && token < 256;
        };
        Perform(memo, SM_APPLYSETTINGS); // colours every row again as it is shown
        memo.repaint();
        EXPECT_GT(tokensSeen, 0);
        EXPECT_TRUE(spansSound);
        for (const TTextRow* row = first.Row; row != first.Row->Next->Next->Next; row = row->Next) {
            ASSERT_TRUE(row->HasAttrs());
            EXPECT_EQ(row->AttrAt(0), 1);
            EXPECT_EQ(row->AttrAt(row->TextLength() - 1), 1);
        }
        // The row after the comment starts line 3.
        EXPECT_EQ(memo.Store().LineOfRow(commentRow + rowsOfComment), 2);

        // A selection across the wrapped rows, then a narrower window.
        const int64_t selectFrom = first.Start + 20;
        memo.Editor().SetSelection(selectFrom, selectFrom + 120);
        memo.Editor().NotifyChange();
        memo.viewport()->update();
        QTest::qWait(20);
        saveShot(form, "wrap-wide.png");
        // A document longer than the view shows its scroll bar.
        EXPECT_TRUE(memo.verticalScrollBar()->isVisible());
        form.resize(640, 620);
        QTest::qWait(50);
        memo.repaint();
        EXPECT_EQ(memo.Store().check(), "");
        EXPECT_EQ(memo.Editor().SelAnchor(), selectFrom);
        EXPECT_EQ(memo.Editor().SelCaret(), selectFrom + 120);
        int64_t rowsNarrow = 1;
        for (const TTextRow* row = memo.Store().LineStart(1).Row; !row->EndsLine(); row = row->Next)
            ++rowsNarrow;
        EXPECT_GT(rowsNarrow, rowsOfComment);
        saveShot(form, "wrap-narrow.png");
        // Every file is asked about on close; this one is unchanged.
        form.close();
    }
}
