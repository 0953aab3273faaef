// Properties that change what the control shows or how the pointer behaves: hyperlink tokens,
// HideSelection, the scroll bar choice and the default style.
#include "MemoFixture.h"

#include "editor/edit/EditorOptions.h"
#include "highlight/ParserSettings.h"

#include <QImage>
#include <QScrollBar>

namespace {

class SourceMemoLook : public ShownMemoFixture
{
protected:
    // Token 7 drawn in style 5, a hot spot; the characters [from, to) of the first row get it.
    void markLink(int from, int to)
    {
        TSM_Settings& settings = memo.ActiveSettings();
        settings.styles[5].hotSpot = 1;
        settings.styles[5].defined = 1;
        settings.styles[5].foreground = 0xFF0000; // blue
        settings.tokenStyles[7] = 5;
        memo.ApplySettings();
        TTextRow* row = memo.Store().FirstRow();
        std::vector<uint8_t> attrs(row->Length);
        row->CopyAttrs(attrs.data());
        for (int i = from; i < to; ++i)
            attrs[static_cast<size_t>(i)] = 7;
        memo.Store().SetAttrs(row, attrs.data());
    }
};

} // namespace

TEST_F(SourceMemoLook, HyperlinkTokensChangeThePointerAndAnswerCtrlClicks)
{
    memo.Store().InsertText(0, "see www.example.org now");
    markLink(4, 19);
    memo.HyperCursor = Qt::PointingHandCursor;
    int hovers = 0;
    std::vector<std::pair<std::string, int>> clicks;
    memo.OnHyperlinkHover = [&hovers](TSourceMemo*) { ++hovers; };
    memo.OnHyperlinkClick = [&clicks](TSourceMemo*, const std::string& text, int token) {
        clicks.emplace_back(text, token);
    };
    QTest::mouseMove(memo.viewport(), pointOf(1));
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::IBeamCursor);
    QTest::mouseMove(memo.viewport(), pointOf(8));
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(memo.viewport(), pointOf(10)); // still the same link: heard once
    EXPECT_EQ(hovers, 1);
    // A plain click edits as usual; Ctrl+click follows the link and leaves the caret.
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, pointOf(8));
    EXPECT_EQ(memo.Editor().SelCaret(), 8);
    EXPECT_TRUE(clicks.empty());
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::ControlModifier, pointOf(12));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], (std::pair<std::string, int>{"www.example.org", 7}));
    EXPECT_EQ(memo.Editor().SelCaret(), 8);
    QTest::mouseMove(memo.viewport(), pointOf(21));
    EXPECT_EQ(memo.viewport()->cursor().shape(), Qt::IBeamCursor);
}

TEST_F(SourceMemoLook, SelectionHidesWithoutFocusUnlessAskedToStay)
{
    MemoWithNeighbour shown;
    TSourceMemo* editor = shown.memo;
    QLineEdit* other = shown.neighbour;
    editor->Store().InsertText(0, "selected text");
    editor->Editor().SetSelection(0, 8);
    const QPoint inSelection = editor->PosFromChar(2) + QPoint(1, 2);
    const auto shownAt = [&] {
        editor->viewport()->repaint();
        return editor->viewport()->grab().toImage().pixelColor(inSelection);
    };
    editor->setFocus();
    QTest::qWait(10);
    const QColor focused = shownAt();
    other->setFocus();
    QTest::qWait(10);
    EXPECT_NE(shownAt(), focused); // hidden while another control has the focus
    editor->SetHideSelection(false);
    EXPECT_EQ(shownAt(), focused);
}

TEST_F(SourceMemoLook, ScrollBarChoiceAndDefaultStyle)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += std::string(300, 'x') + "\r";
    memo.Store().InsertText(0, text);
    memo.Changed(cfTextChanged);
    EXPECT_GT(memo.horizontalScrollBar()->maximum(), 0);
    memo.SetScrollBars(ssVertical);
    EXPECT_EQ(memo.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(memo.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    memo.SetScrollBars(ssNone);
    EXPECT_EQ(memo.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // The default style paints the text and lives in the active settings.
    memo.SetDefaultStyle(0x0000FF, 0x00FFFF, 0); // red on yellow
    EXPECT_EQ(memo.ActiveSettings().styles[0].background, 0x00FFFF);
    memo.viewport()->repaint();
    const QImage shot = memo.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(memo.TextLeft() + memo.CharWidth() * 3 + 1, memo.LineHeight() + 1), QColor(255, 255, 0));
}
