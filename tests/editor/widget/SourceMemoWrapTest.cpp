// Word wrap in the control: switching it, the wrap column and override, width changes, edits
// re-flowing their lines, the view and caret keeping their place, and the gutter numbering
// lines rather than rows. Also the paint lock, the no-repaint bit and WantTab.
#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "MemoFixture.h"
#include "editor/widget/SourceMemoMessages.h"
#include "editor/widget/SourceMemoProperties.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SourceMemoWrap : public ShownMemoFixture
{
protected:
    SourceMemoWrap() { memo.SetOptions(memo.Options() | smoLineNumbers); }
    void wrap(bool on)
    {
        memo.SetOptions(on ? memo.Options() | smoWordWrap : memo.Options() & ~smoWordWrap);
    }
    std::vector<std::string> rows() const
    {
        std::vector<std::string> texts;
        for (const TTextRow* row = memo.Store().FirstRow(); row; row = row->Next)
            texts.emplace_back(row->Text(), row->Length);
        return texts;
    }
    void expectSound() const
    {
        ASSERT_EQ(memo.Store().check(), "");
        ASSERT_EQ(memo.Editor().check(), "");
    }
    // The gutter cell of a visible row as painted.
    QImage gutterOf(int64_t rowOnScreen)
    {
        const QImage shot = memo.viewport()->grab().toImage();
        return shot.copy(0, static_cast<int>(rowOnScreen) * memo.LineHeight(), memo.Gutter() - 2, memo.LineHeight());
    }
    static bool hasInk(const QImage& cell, QColor background)
    {
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x)
                if (cell.pixelColor(x, y) != background)
                    return true;
        return false;
    }
};

const std::string kParagraph = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";

} // namespace

TEST_F(SourceMemoWrap, SwitchingWrapCutsRowsAtTheColumnAndJoinsThemBack)
{
    memo.Store().InsertText(0, "first\r" + kParagraph + "\rlast");
    memo.SetWrapAtColumn(20);
    EXPECT_EQ(memo.Store().RowCount(), 3); // nothing happens while word wrap is off
    wrap(true);
    expectSound();
    EXPECT_EQ(rows(), (std::vector<std::string>{"first\r", "alpha beta gamma ", "delta epsilon zeta ",
                                                "eta theta iota kappa ", "lambda mu\r", "last"}));
    // A narrower column re-flows at once.
    memo.SetWrapAtColumn(12);
    EXPECT_EQ(rows(), (std::vector<std::string>{"first\r", "alpha beta ", "gamma delta ", "epsilon zeta ",
                                                "eta theta ", "iota kappa ", "lambda mu\r", "last"}));
    // A line starting with an override character stands when the override is on.
    memo.Store().InsertText(0, ">" + kParagraph + "\r");
    memo.Changed(cfTextChanged);
    memo.SetOptions(memo.Options() | smoWrapOverride);
    EXPECT_EQ(rows().front(), ">" + kParagraph + "\r");
    memo.SetWrapOverride("#");
    EXPECT_LT(rows().front().size(), 20u);
    wrap(false);
    expectSound();
    EXPECT_EQ(memo.Store().RowCount(), 4);
    EXPECT_EQ(memo.horizontalScrollBar()->value(), 0);
}

TEST_F(SourceMemoWrap, WindowWidthDecidesTheWrapWhenNoColumnIsSet)
{
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += kParagraph + ' ';
    memo.Store().InsertText(0, text);
    wrap(true);
    const int64_t wide = memo.Store().RowCount();
    EXPECT_GT(wide, 1);
    // Every row fits the width: the text left, two scroll bars' width kept free.
    const int columns = (memo.width() - memo.TextLeft()) / memo.CharWidth();
    for (const std::string& row : rows())
        EXPECT_LE(row.find_last_not_of(' ') + 1, static_cast<size_t>(columns));
    memo.resize(300, 400);
    memo.repaint(); // the re-flow waits for the rows to be used
    expectSound();
    EXPECT_GT(memo.Store().RowCount(), wide);
    EXPECT_EQ(memo.Store().GetText(), text);
    // The scroll bar has no horizontal range while wrapping.
    EXPECT_EQ(memo.horizontalScrollBar()->maximum(), 0);
}

TEST_F(SourceMemoWrap, TypingReflowsTheLineAndUndoRestoresTheRows)
{
    memo.SetWrapAtColumn(20);
    wrap(true);
    memo.Store().InsertText(0, kParagraph + "\rnext");
    memo.Changed(cfTextChanged);
    const std::vector<std::string> before = rows();
    // Typing at the start of the paragraph pushes words onto later rows.
    memo.Editor().SetSelection(0, 0);
    QTest::keyClicks(&memo, "omega ");
    expectSound();
    EXPECT_EQ(rows()[0], "omega alpha beta ");
    EXPECT_EQ(memo.Editor().SelCaret(), 6);
    EXPECT_EQ(memo.Store().RowAt(6).Index, 0);
    // Undoing what was typed brings the rows back as they were.
    const std::string original = kParagraph + "\rnext";
    for (int i = 0; i < 6 && memo.Store().GetText() != original; ++i)
        QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
    expectSound();
    EXPECT_EQ(rows(), before);
    // End on a wrapped row stays on that row.
    memo.Editor().SetSelection(0, 0);
    QTest::keyClick(&memo, Qt::Key_End);
    EXPECT_EQ(memo.Store().RowAt(memo.Editor().SelCaret()).Index, 0);
    // Deleting the line break joins the next line into the paragraph's last row.
    memo.Editor().SetSelection(static_cast<int64_t>(kParagraph.size()), static_cast<int64_t>(kParagraph.size()) + 1);
    QTest::keyClick(&memo, Qt::Key_Delete);
    expectSound();
    EXPECT_EQ(rows().back(), "lambda munext");
}

TEST_F(SourceMemoWrap, TheTopRowKeepsItsTextAndTheGutterNumbersLines)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += kParagraph + '\r';
    memo.Store().InsertText(0, text);
    memo.Changed(cfTextChanged);
    memo.SetTopRow(10); // line 11
    const int64_t topOffset = memo.Store().RowByIndex(10).Start;
    memo.SetWrapAtColumn(25);
    wrap(true);
    EXPECT_EQ(memo.Store().RowByIndex(memo.TopRow()).Start, topOffset);
    expectSound();

    // Unwrapped reference: the gutter of the second row shows "2".
    TSourceMemo reference;
    reference.resize(600, 400);
    reference.show();
    reference.SetOptions(reference.Options() | smoLineNumbers);
    reference.Store().InsertText(0, "a\rb\rc");
    const QImage two = reference.viewport()->grab().toImage().copy(0, reference.LineHeight(), reference.Gutter() - 2,
                                                                     reference.LineHeight());
    memo.SetTopRow(0);
    memo.repaint();
    const int64_t rowsPerLine = memo.Store().RowAt(static_cast<int64_t>(kParagraph.size()) + 1).Index;
    ASSERT_GT(rowsPerLine, 1);
    EXPECT_EQ(gutterOf(rowsPerLine), two); // the first row of line 2 shows 2, not its row number
    const QColor face = gutterOf(1).pixelColor(0, 0);
    memo.SetOptions(memo.Options() & ~smoShowWrapGlyph);
    memo.repaint();
    EXPECT_FALSE(hasInk(gutterOf(1), face)); // a continuation row shows no number
    memo.SetOptions(memo.Options() | smoShowWrapGlyph);
    memo.repaint();
    EXPECT_TRUE(hasInk(gutterOf(1), face)); // but the wrapped glyph when asked
}

TEST_F(SourceMemoWrap, ExchangedStoresAreFlowedForTheViewOnlyWhenTheyNeedIt)
{
    memo.SetWrapAtColumn(20);
    wrap(true);
    auto other = std::make_unique<TTextStore>();
    other->InsertText(0, kParagraph);
    auto first = memo.ExchangeStore(std::move(other));
    EXPECT_EQ(memo.Store().RowCount(), 4);
    // The first store was unwrapped text; edits made while not shown leave its cut unknown.
    first->InsertText(0, kParagraph + "\r");
    other = memo.ExchangeStore(std::move(first));
    EXPECT_GT(memo.Store().RowCount(), 2);
    expectSound();
    wrap(false);
    other = memo.ExchangeStore(std::move(other));
    EXPECT_EQ(memo.Store().RowCount(), 1); // a wrapped store shown without wrap is joined
}

TEST_F(SourceMemoWrap, TheHostsWordBreakRuleReplacesTheBlankRule)
{
    memo.SetWrapAtColumn(10);
    memo.OnWordBreakProc = [](const char*, int current, int, int) { return current; }; // break where full
    memo.Store().InsertText(0, "aaaa bbbbbbbbbbbbbbbb");
    wrap(true);
    EXPECT_EQ(rows(), (std::vector<std::string>{"aaaa bbbbb", "bbbbbbbbbb", "b"}));
}

TEST_F(SourceMemoWrap, PaintLockHoldsScrollBarsAndNoRepaintBitSchedulesNothing)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "row\r";
    Perform(memo, SM_LOCKPAINT, smSet, 1);
    EXPECT_EQ(Perform(memo, SM_LOCKPAINT), 1);
    memo.Store().InsertText(0, text);
    memo.Changed(cfTextChanged);
    EXPECT_EQ(memo.verticalScrollBar()->maximum(), 0); // held while locked
    Perform(memo, SM_LOCKPAINT, smSet, 0);
    EXPECT_GT(memo.verticalScrollBar()->maximum(), 200);

    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    QTest::qWait(20);
    memo.viewport()->installEventFilter(&counter);
    Perform(memo, SM_TOPROW, smSet | smNoRepaint, 50);
    QTest::qWait(20);
    EXPECT_EQ(memo.TopRow(), 50);
    EXPECT_EQ(counter.paints, 0);
    Perform(memo, SM_TOPROW, smSet, 60);
    QTest::qWait(20);
    EXPECT_GT(counter.paints, 0);
    memo.viewport()->removeEventFilter(&counter);
}

TEST_F(SourceMemoWrap, LeftColumnClampsAndWantTabDecidesWhatTabDoes)
{
    memo.Store().InsertText(0, std::string(300, 'x'));
    memo.Changed(cfTextChanged);
    Perform(memo, SM_LEFTCOL, smSet, 100);
    EXPECT_EQ(memo.LeftCol(), 100);
    Perform(memo, SM_LEFTCOL, smSet, 100000);
    EXPECT_LE(memo.LeftCol(), 300);
    EXPECT_GT(memo.LeftCol(), 100);
    wrap(true);
    EXPECT_EQ(memo.LeftCol(), 0);
    Perform(memo, SM_LEFTCOL, smSet, 10);
    EXPECT_EQ(memo.LeftCol(), 0);

    MemoWithNeighbour shown;
    TSourceMemo* editor = shown.memo;
    QLineEdit* next = shown.neighbour;
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(editor->Store().GetText(), "\t");
    EXPECT_EQ(Perform(*editor, WM_GETDLGCODE) & DLGC_WANTTAB, DLGC_WANTTAB);
    editor->SetWantTab(false);
    EXPECT_EQ(Perform(*editor, WM_GETDLGCODE) & DLGC_WANTTAB, 0);
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(editor->Store().GetText(), "\t");
    EXPECT_TRUE(next->hasFocus());
}

TEST_F(SourceMemoWrap, WiderTabStopsCutWrappedLinesAgain)
{
    memo.SetWrapAtColumn(20);
    wrap(true);
    memo.Store().InsertText(0, "a\tb\tc\td\te\tf\tg");
    memo.Changed(cfTextChanged);
    const int64_t narrowTabs = memo.Store().RowCount();
    SetTabDefault(memo, 8);
    EXPECT_GT(memo.Store().RowCount(), narrowTabs);
    expectSound();
}

TEST_F(SourceMemoWrap, GutterClickBesideAWrappedRowReportsItsLinesFirstRow)
{
    memo.SetWrapAtColumn(20);
    wrap(true);
    memo.Store().InsertText(0, "one\r" + kParagraph + "\rthree");
    memo.Changed(cfTextChanged);
    std::vector<int64_t> clicked;
    memo.OnGutterClick = [&clicked](TSourceMemo*, int64_t line) { clicked.push_back(line); };
    for (const int row : {1, 3, 5}) { // inside the paragraph (rows 2 to 5), then "three"
        QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(5, memo.LineHeight() * row + 2));
        QTest::qWait(QApplication::doubleClickInterval() + 10);
    }
    EXPECT_EQ(clicked, (std::vector<int64_t>{2, 2, 6}));
}
