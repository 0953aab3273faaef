// The editor control on screen: where text starts, the scroll range of a long document, and
// typing, selecting and undoing through real key and mouse events.
#include "base/Stream.h"
#include "editor/edit/EditorOptions.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "editor/widget/SourceMemo.h"
#include "MemoFixture.h"

#include <QClipboard>
#include <QImage>
#include <QScreen>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace {

using SourceMemoView = ShownMemoFixture;

} // namespace

TEST_F(SourceMemoView, TextStartsAfterGutterAndMarginOrAfterTheMarginAlone)
{
    memo.SetMargin(2);
    EXPECT_EQ(memo.Gutter(), 34);
    EXPECT_EQ(memo.TextLeft(), 36);
    memo.SetOptions(memo.Options() & ~smoShowGutter);
    EXPECT_EQ(memo.TextLeft(), 2);
}

TEST_F(SourceMemoView, HundredThousandRowsScaleTheScrollBarAndItsEndShowsTheLastRow)
{
    std::string rows;
    for (int i = 0; i < 100000; ++i)
        rows += "row\r";
    rows.pop_back();
    memo.Store().InsertText(0, rows);
    memo.Changed(cfTextChanged);
    QScrollBar* bar = memo.verticalScrollBar();
    EXPECT_LE(bar->maximum() + bar->pageStep(), 25001);
    EXPECT_GE(bar->maximum() + bar->pageStep(), 24999);
    bar->setValue(bar->maximum());
    EXPECT_GE(memo.TopRow() + memo.VisibleRows(), memo.Store().RowCount());
    bar->setValue(0);
    EXPECT_EQ(memo.TopRow(), 0);
}

TEST_F(SourceMemoView, AShortDocumentShowedAScrollBarWithItsThumbAtTheBottom)
{
    QScrollBar* bar = memo.verticalScrollBar();
    const auto shown = [bar] {
        QApplication::processEvents(); // the scroll area lays its bars out on its next event
        return bar->isVisible();
    };
    memo.Store().InsertText(0, "one\rtwo\rthree");
    memo.Changed(cfTextChanged);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_FALSE(shown()); // the document fits: no bar
    EXPECT_FALSE(memo.horizontalScrollBar()->isVisible());
    // Scrolled down, the bar comes back with a view-sized thumb so the top can be reached.
    memo.SetTopRow(2);
    EXPECT_TRUE(shown());
    EXPECT_EQ(bar->value(), 2);
    EXPECT_EQ(bar->maximum(), 2);
    EXPECT_EQ(bar->pageStep(), memo.VisibleRows());
    bar->setValue(0);
    EXPECT_EQ(memo.TopRow(), 0);
    EXPECT_FALSE(shown());
}

TEST_F(SourceMemoView, KeysTypeSelectWithShiftArrowsAndUndo)
{
    QTest::keyClicks(memo.viewport()->parentWidget(), "abc");
    EXPECT_EQ(text(), "abc");
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, "de");
    EXPECT_EQ(text(), "abc\rde");
    QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(memo.Editor().SelText(), "de");
    QTest::keyClicks(&memo, "X");
    EXPECT_EQ(text(), "abc\rX");
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), "abc\rde");
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(), "abc\rX");
    // Shift+Home from the end of the row selects back to its start.
    QTest::keyClick(&memo, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(memo.Editor().SelText(), "X");
}

TEST_F(SourceMemoView, MouseClicksPlaceTheCaretDragsSelectAndDoubleClicksPickAWord)
{
    memo.Store().InsertText(0, "PRINT hello world\rsecond line");
    memo.viewport()->update();
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, pointOf(6));
    EXPECT_EQ(memo.Editor().SelCaret(), 6);
    QTest::mousePress(memo.viewport(), Qt::LeftButton, {}, pointOf(6));
    QTest::mouseMove(memo.viewport(), pointOf(11));
    QTest::mouseRelease(memo.viewport(), Qt::LeftButton, {}, pointOf(11));
    EXPECT_EQ(memo.Editor().SelText(), "hello");
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::ShiftModifier, pointOf(20));
    EXPECT_EQ(memo.Editor().SelText(), "hello world\r\nse"); // line breaks read as CR LF
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    QTest::mouseDClick(memo.viewport(), Qt::LeftButton, {}, pointOf(14));
    EXPECT_EQ(memo.Editor().SelText(), "world");
}

TEST_F(SourceMemoView, GutterClicksReportTheRowNumber)
{
    memo.Store().InsertText(0, "one\rtwo\rthree");
    int64_t clicked = 0;
    memo.OnGutterClick = [&clicked](TSourceMemo*, int64_t line) { clicked = line; };
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(5, memo.LineHeight() * 2 + 2));
    EXPECT_EQ(clicked, 3);
}

TEST_F(SourceMemoView, AnExchangedShortDocumentScrollsFromItsTop)
{
    std::string rows;
    for (int i = 0; i < 500; ++i)
        rows += "row\r";
    memo.Store().InsertText(0, rows);
    memo.Changed(cfTextChanged);
    memo.SetTopRow(400);
    auto shortStore = std::make_unique<TTextStore>();
    shortStore->InsertText(0, "one\rtwo");
    auto longStore = memo.ExchangeStore(std::move(shortStore));
    memo.Changed(cfTextChanged);
    QScrollBar* bar = memo.verticalScrollBar();
    EXPECT_EQ(memo.TopRow(), 0);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_LE(bar->maximum(), 1);
}

TEST_F(SourceMemoView, HostEventsPaintRowsSeeTokensAndFilterPastes)
{
    memo.Store().InsertText(0, "first row\rsecond row");
    // A host that paints the second row itself: the control leaves that row to it.
    std::vector<int64_t> asked;
    memo.OnDrawLine = [&asked](TSourceMemo*, TLineDrawData& line) {
        asked.push_back(line.RowStart);
        if (line.RowStart > 0) {
            line.Canvas->fillRect(line.Rect, Qt::magenta);
            line.Handled = true;
        }
        return 0;
    };
    memo.viewport()->repaint();
    EXPECT_EQ(asked, (std::vector<int64_t>{0, 10}));
    const QImage shot = memo.viewport()->grab().toImage();
    const int x = memo.TextLeft() + memo.CharWidth() * 3;
    EXPECT_EQ(shot.pixelColor(x, memo.LineHeight() + memo.LineHeight() / 2), QColor(Qt::magenta));
    EXPECT_NE(shot.pixelColor(x, memo.LineHeight() / 2), QColor(Qt::magenta));

    // A paste whose text flag the host clears inserts nothing.
    QApplication::clipboard()->setText("pasted");
    memo.Editor().SetSelection(0, 0);
    uint32_t seen = 0;
    memo.OnDataDrop = [&seen](TSourceMemo*, uint32_t& flags) {
        seen = flags;
        flags &= ~uint32_t{dsText};
    };
    QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(seen & (dsText | dsPaste), uint32_t{dsText | dsPaste});
    EXPECT_EQ(text(), "first row\rsecond row");
    memo.OnDataDrop = nullptr;
    QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), "pastedfirst row\rsecond row");
}

// Regression: the control dropped the -1 and -2 notifications that frame a pass and handed
// its host the token's start before its end.
TEST_F(SourceMemoView, TokenNotificationsFrameThePassAndGiveTheEndBeforeTheStart)
{
    TSourceMemoParser parser;
    const std::span<const uint8_t> stream = zenBasicParserStream();
    TReadOnlyMemoryStream in(stream.data(), static_cast<int64_t>(stream.size()));
    parser.LoadParser(in);
    memo.Store().InsertText(0, "PRINT 12\r");
    std::vector<std::array<int64_t, 3>> seen;
    memo.OnTokenSeen = [&seen](TSourceMemo*, int& token, int64_t end, int64_t start) {
        seen.push_back({token, end, start});
    };
    memo.SetParser(1, &parser);
    memo.viewport()->repaint();
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), (std::array<int64_t, 3>{-1, -1, -1}));
    EXPECT_EQ(seen[1], (std::array<int64_t, 3>{12, 5, 0})); // PRINT, a keyword
    EXPECT_EQ(seen[3], (std::array<int64_t, 3>{5, 8, 6}));  // 12, a number
    EXPECT_EQ(seen.back()[0], -2);
    memo.SetParser(1, nullptr);
}

// What is on screen after an edit or a caret move, painted piecemeal, must equal a full paint.
TEST_F(SourceMemoView, AKeystrokeRepaintsItsRowsOnlyAndCaretMovesLeaveNoTrace)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0); // a caret that does not blink between the two pictures
    memo.clearFocus();
    memo.setFocus();
    std::string rows;
    for (int i = 0; i < 100; ++i)
        rows += "row " + std::to_string(i) + "\r";
    memo.Store().InsertText(0, rows);
    memo.Changed(cfTextChanged);
    QTest::qWait(20);
    const auto onScreen = [this] {
        return QGuiApplication::primaryScreen()->grabWindow(memo.winId()).toImage();
    };
    const auto fullPaint = [this] {
        memo.viewport()->update();
        QTest::qWait(20);
        return QGuiApplication::primaryScreen()->grabWindow(memo.winId()).toImage();
    };
    memo.Editor().SetSelection(memo.Store().RowByIndex(5).Start + 3, memo.Store().RowByIndex(5).Start + 3);
    memo.Editor().NotifyChange();
    memo.viewport()->update();
    QTest::qWait(20);
    QTest::keyClick(&memo, Qt::Key_X);
    QTest::qWait(20);
    EXPECT_LE(memo.RowsPaintedLastTime(), 6);
    EXPECT_GT(memo.RowsPaintedLastTime(), 0);
    QImage piecemeal = onScreen();
    EXPECT_EQ(piecemeal, fullPaint());
    // A selection made by the keyboard and then dropped by a click elsewhere.
    QTest::keyClick(&memo, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Down, Qt::ShiftModifier);
    QTest::qWait(20);
    memo.Editor().SetSelection(12, 12);
    memo.ScrollCaretIntoView();
    QTest::qWait(20);
    piecemeal = onScreen();
    EXPECT_EQ(piecemeal, fullPaint());
    QApplication::setCursorFlashTime(flashTime);
}
