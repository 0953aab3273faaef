// The editor control's mouse: dragging the selection out and dropping it back (moved, copied,
// refused), text and files dropped from elsewhere, the drag-over hook, the right-margin line
// dragged to a new column, the triple-click event and the word a double click picks.
// A real drag runs a nested loop offscreen tests cannot drive, so drags the control starts run
// through a stand-in executor that sends the drag events a drop would bring.
#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "MemoFixture.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class SourceMemoMouse : public ShownMemoFixture
{
protected:
    QWidget* view() const { return memo.viewport(); }
    // Lets the double-click time run out so the next press counts as a first one.
    static void settle() { QTest::qWait(QApplication::doubleClickInterval() + 20); }

    // A drag entering the control at `at`; answers whether the control took it.
    bool enter(const QMimeData& mime, QPoint at,
               Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
               Qt::KeyboardModifiers modifiers = {})
    {
        QDragEnterEvent event(at, actions, &mime, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(view(), &event);
        return event.isAccepted();
    }
    // The action a drag entering and moving to `at` is given; IgnoreAction when refused. (Qt
    // delivers moves and drops only to the widget that took the last enter.)
    Qt::DropAction moveTo(const QMimeData& mime, QPoint at,
                          Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
                          Qt::KeyboardModifiers modifiers = {})
    {
        enter(mime, at, actions, modifiers);
        QDragMoveEvent event(at, actions, &mime, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(view(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
    Qt::DropAction drop(const QMimeData& mime, QPoint at,
                        Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
                        Qt::KeyboardModifiers modifiers = {})
    {
        enter(mime, at, actions, modifiers);
        QDropEvent event(at, actions, &mime, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(view(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
    // Presses on `from` and moves far enough to start a drag of the selection.
    void dragFrom(QPoint from)
    {
        QTest::mousePress(view(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view(), from + QPoint(QApplication::startDragDistance() + 2, 0));
        QTest::mouseRelease(view(), Qt::LeftButton, {}, from);
    }
    // A drag executor that drops the dragged data at `target` (with modifiers) after entering
    // where the drag started, and records what it was offered.
    void dropOwnDragAt(QPoint target, Qt::KeyboardModifiers modifiers = {})
    {
        memo.setDragExecutor([this, target, modifiers](QDrag& drag, Qt::DropActions allowed) {
            offered = allowed;
            draggedText = drag.mimeData()->text().toStdString();
            const QMimeData& mime = *drag.mimeData();
            enter(mime, m_pressedAt, allowed, modifiers);
            overAction = moveTo(mime, target, allowed, modifiers);
            caretWhileOver = memo.dropCaretOffset();
            return drop(mime, target, allowed, modifiers);
        });
    }
    void pressAt(QPoint at)
    {
        m_pressedAt = at;
        dragFrom(at);
    }

    Qt::DropActions offered;
    std::string draggedText;
    Qt::DropAction overAction = Qt::IgnoreAction;
    int64_t caretWhileOver = -2;

private:
    QPoint m_pressedAt;
};

} // namespace

TEST_F(SourceMemoMouse, APressOnTheSelectionWaitsForADragAndAPlainClickPlacesTheCaret)
{
    memo.Store().InsertText(0, "PRINT hello world");
    memo.Editor().SetSelection(6, 11);
    QTest::mousePress(view(), Qt::LeftButton, {}, pointOf(8));
    EXPECT_EQ(memo.Editor().Selection(), (TSelectionPair{6, 11})); // armed, not moved
    QTest::mouseRelease(view(), Qt::LeftButton, {}, pointOf(8));
    EXPECT_EQ(memo.Editor().Selection(), (TSelectionPair{8, 8}));
    // Without the option a press on the selection places the caret and starts selecting.
    settle();
    memo.SetOptions(memo.Options() & ~smoOLEDragSource);
    memo.Editor().SetSelection(6, 11);
    QTest::mousePress(view(), Qt::LeftButton, {}, pointOf(8));
    QTest::mouseMove(view(), pointOf(10));
    QTest::mouseRelease(view(), Qt::LeftButton, {}, pointOf(10));
    EXPECT_EQ(memo.Editor().Selection(), (TSelectionPair{8, 10}));
}

TEST_F(SourceMemoMouse, TheSelectionDraggedWithinTheControlMovesAsOneStepOrCopiesWithCtrl)
{
    memo.Store().InsertText(0, "one two\rthree");
    memo.Editor().SetSelection(0, 4); // "one "
    dropOwnDragAt(pointOf(11));       // between "thr" and "ee"
    pressAt(pointOf(1));
    EXPECT_EQ(draggedText, "one ");
    EXPECT_EQ(offered, Qt::CopyAction | Qt::MoveAction);
    EXPECT_EQ(overAction, Qt::MoveAction);
    EXPECT_EQ(caretWhileOver, 11);
    EXPECT_EQ(memo.dropCaretOffset(), -1); // gone after the drop
    EXPECT_EQ(text(), "two\rthrone ee");
    EXPECT_EQ(memo.Editor().SelText(), "one ");
    memo.Editor().Undo();
    EXPECT_EQ(text(), "one two\rthree");
    EXPECT_EQ(memo.Editor().Selection(), (TSelectionPair{0, 4}));
    EXPECT_FALSE(memo.Editor().CanUndo());

    settle();
    memo.Editor().SetSelection(2, 9); // "e two\rt": line breaks travel as CR LF
    dropOwnDragAt(pointOf(13), Qt::ControlModifier);
    pressAt(pointOf(3));
    EXPECT_EQ(draggedText, "e two\r\nt");
    EXPECT_EQ(overAction, Qt::CopyAction);
    EXPECT_EQ(text(), "one two\rthreee two\rt");
    ASSERT_EQ(memo.Store().check(), "");
}

TEST_F(SourceMemoMouse, DropsOntoTheSelectionItselfDoNothingAndAMoveIsNotCutTwice)
{
    memo.Store().InsertText(0, "xyxy xy");
    memo.Editor().SetSelection(0, 4);
    dropOwnDragAt(pointOf(2));
    pressAt(pointOf(1));
    EXPECT_EQ(overAction, Qt::IgnoreAction);
    EXPECT_EQ(caretWhileOver, -1);
    EXPECT_EQ(text(), "xyxy xy");
    EXPECT_FALSE(memo.Editor().CanUndo());
    // After this move the source range holds the same text again; the drag's end must not
    // take it away a second time.
    settle();
    memo.Editor().SetSelection(0, 2);
    dropOwnDragAt(pointOf(4));
    pressAt(pointOf(0));
    EXPECT_EQ(text(), "xyxy xy");
    EXPECT_EQ(memo.Editor().Selection(), (TSelectionPair{2, 4}));
}

TEST_F(SourceMemoMouse, TextMovedToAnotherProgramLeavesUnlessCopiedOrReadOnly)
{
    memo.Store().InsertText(0, "take this out");
    Qt::DropAction answer = Qt::MoveAction;
    memo.setDragExecutor([&](QDrag&, Qt::DropActions allowed) {
        offered = allowed;
        return answer;
    });
    memo.Editor().SetSelection(4, 9);
    pressAt(pointOf(5));
    EXPECT_EQ(text(), "take out");
    memo.Editor().Undo();
    settle();
    answer = Qt::CopyAction;
    memo.Editor().SetSelection(4, 9);
    pressAt(pointOf(5));
    EXPECT_EQ(text(), "take this out");
    // Read-only text is offered as a copy only; a target that moves it anyway cuts nothing.
    settle();
    memo.SetReadOnly(true);
    answer = Qt::MoveAction;
    memo.Editor().SetSelection(4, 9);
    pressAt(pointOf(5));
    EXPECT_EQ(offered, Qt::CopyAction);
    EXPECT_EQ(text(), "take this out");
}

TEST_F(SourceMemoMouse, TextFromElsewhereShowsItsDropBarAndLandsAtThePointer)
{
    memo.Store().InsertText(0, "10 END    ");
    QMimeData mime;
    mime.setText("5 CLS\r\n");
    EXPECT_EQ(moveTo(mime, pointOf(8), Qt::CopyAction), Qt::CopyAction);
    ASSERT_EQ(memo.dropCaretOffset(), 8);
    const QPoint bar = memo.PosFromChar(8);
    const QImage shown = view()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(bar.x(), bar.y() + 2), QColor(Qt::black)); // inverted white
    EXPECT_EQ(shown.pixelColor(bar.x() + 3, bar.y() + 2), QColor(Qt::white));
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(view(), &leave);
    EXPECT_EQ(memo.dropCaretOffset(), -1);

    EXPECT_EQ(drop(mime, pointOf(0), Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(text(), "5 CLS\r10 END    ");
    memo.Editor().Undo();
    std::vector<uint32_t> flags;
    memo.Editor().OnDataDrop = [&flags](uint32_t& sourceFlags) {
        flags.push_back(sourceFlags);
        sourceFlags &= ~dsText;
    };
    EXPECT_EQ(drop(mime, pointOf(3), Qt::CopyAction), Qt::IgnoreAction);
    EXPECT_EQ(flags, (std::vector<uint32_t>{dsText}));
    memo.SetReadOnly(true);
    EXPECT_FALSE(enter(mime, pointOf(3)));
    EXPECT_EQ(text(), "10 END    ");
}

TEST_F(SourceMemoMouse, TheDragOverHookSeesThePointAndDecidesWithinWhatTheSourceOffers)
{
    memo.Store().InsertText(0, "abc");
    QMimeData mime;
    mime.setText("X");
    std::vector<Qt::DropAction> proposed;
    Qt::DropAction forced = Qt::IgnoreAction;
    memo.OnOLEDragOver = [&](TSourceMemo* sender, const QMimeData* data, QPoint at,
                             Qt::DropAction& effect) {
        EXPECT_TRUE(sender == &memo && data == &mime && at == pointOf(1));
        proposed.push_back(effect);
        effect = forced;
    };
    EXPECT_EQ(moveTo(mime, pointOf(1), Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_EQ(memo.dropCaretOffset(), -1);
    forced = Qt::CopyAction; // not offered by the source
    EXPECT_EQ(drop(mime, pointOf(1), Qt::MoveAction), Qt::IgnoreAction);
    EXPECT_EQ(text(), "abc");
    forced = Qt::MoveAction;
    EXPECT_EQ(drop(mime, pointOf(1), Qt::CopyAction | Qt::MoveAction), Qt::MoveAction);
    EXPECT_EQ(text(), "aXbc");
    // Left alone, the control takes what the source proposes.
    EXPECT_EQ(proposed.front(), Qt::MoveAction);
    EXPECT_EQ(proposed.back(), Qt::CopyAction);
}

TEST_F(SourceMemoMouse, FilesDroppedGoToTheHostBeforeAnyTextTheyCarry)
{
    memo.Store().InsertText(0, "x");
    QStringList received;
    memo.OnFilesDropped = [&received](TSourceMemo*, const QStringList& names, QPoint) {
        received = names;
    };
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile("/tmp/A.BAS")});
    mime.setText("/tmp/A.BAS");
    EXPECT_NE(drop(mime, pointOf(0)), Qt::IgnoreAction);
    EXPECT_EQ(received, QStringList{"/tmp/A.BAS"});
    EXPECT_EQ(text(), "x");
    memo.SetOptions(memo.Options() & ~smoProcessDroppedFiles); // now the same data is text
    EXPECT_NE(drop(mime, pointOf(1)), Qt::IgnoreAction);
    EXPECT_EQ(text(), "x/tmp/A.BAS");
}

TEST_F(SourceMemoMouse, TheRightMarginLineIsDraggedToTheNearestColumnOrPutBack)
{
    memo.SetOptions(memo.Options() | smoShowRMargin);
    memo.SetRightMargin(20);
    int changes = 0;
    memo.OnChange = [&changes](TSourceMemo*) { ++changes; };
    const int cw = memo.CharWidth();
    const int lineX = memo.TextLeft() + 20 * cw;
    const int y = memo.LineHeight() / 2;
    auto hoverAt = [this, y](int x) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), view()->mapToGlobal(QPointF(x, y)),
                         Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(view(), &move);
    };
    auto dragLine = [this, y](int from, int to) {
        settle();
        QTest::mousePress(view(), Qt::LeftButton, {}, QPoint(from, y));
        QTest::mouseMove(view(), QPoint(to, y));
    };
    hoverAt(lineX + 2);
    EXPECT_EQ(view()->cursor().shape(), Qt::SplitHCursor);
    hoverAt(lineX + 3 * cw);
    EXPECT_EQ(view()->cursor().shape(), Qt::IBeamCursor);

    const int target = memo.TextLeft() + 30 * cw + cw / 3; // nearer column 30 than 31
    dragLine(lineX - 1, target);
    EXPECT_EQ(memo.marginDragX(), target);
    const QImage shown = view()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(target, y), QColor(Qt::black)); // white background inverted
    EXPECT_EQ(shown.pixelColor(target + 1, y), QColor(Qt::white));
    EXPECT_EQ(memo.Editor().SelAnchor(), memo.Editor().SelCaret()); // nothing selected
    QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(target, y));
    EXPECT_EQ(memo.RightMargin(), 30);
    EXPECT_EQ(memo.marginDragX(), -1);
    EXPECT_EQ(changes, 1);

    // Escape puts it back; so does losing the button.
    const int newX = memo.TextLeft() + 30 * cw;
    dragLine(newX, newX + 5 * cw);
    QTest::keyClick(&memo, Qt::Key_Escape);
    QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(newX + 5 * cw, y));
    dragLine(newX, newX + 5 * cw);
    hoverAt(newX + 5 * cw);
    EXPECT_EQ(memo.marginDragX(), -1);
    QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(newX + 5 * cw, y));
    EXPECT_EQ(memo.RightMargin(), 30);
    // Dragged onto the text's left edge it stops at column 1.
    dragLine(newX, 0);
    QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(0, y));
    EXPECT_EQ(memo.RightMargin(), 1);
    EXPECT_EQ(changes, 2);
    // A line that is not shown is not picked up.
    memo.SetOptions(memo.Options() & ~smoShowRMargin);
    dragLine(memo.TextLeft() + cw, memo.TextLeft() + 9 * cw);
    EXPECT_EQ(memo.marginDragX(), -1);
}

TEST_F(SourceMemoMouse, MultipleClicksPickTheEditorsWordsThenTheRowOrRaiseTheTripleClick)
{
    memo.Store().InsertText(0, "x = PORTB.0 + it's\rsecond row");
    QTest::mouseDClick(view(), Qt::LeftButton, {}, pointOf(5));
    EXPECT_EQ(memo.Editor().SelText(), "PORTB");
    settle();
    QTest::mouseDClick(view(), Qt::LeftButton, {}, pointOf(15));
    EXPECT_EQ(memo.Editor().SelText(), "it's"); // the apostrophe belongs to words
    settle();
    memo.Editor().fn_CharIsInWord = [](char c) { return c != ' ' && c != '='; };
    QTest::mouseDClick(view(), Qt::LeftButton, {}, pointOf(5));
    EXPECT_EQ(memo.Editor().SelText(), "PORTB.0");

    settle();
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointOf(22));
    QTest::mouseDClick(view(), Qt::LeftButton, {}, pointOf(22));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointOf(22));
    EXPECT_EQ(memo.Editor().SelText(), "second row");
    settle();
    std::vector<int64_t> offsets;
    memo.OnTripleClick = [&](TSourceMemo* sender, QPoint at, int64_t offset) {
        EXPECT_TRUE(sender == &memo && at == pointOf(6));
        offsets.push_back(offset);
    };
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointOf(6));
    QTest::mouseDClick(view(), Qt::LeftButton, {}, pointOf(6));
    QTest::mouseClick(view(), Qt::LeftButton, {}, pointOf(6));
    EXPECT_EQ(offsets, (std::vector<int64_t>{6}));
    EXPECT_EQ(memo.Editor().SelText(), "PORTB.0"); // the double click's word stays
}

TEST_F(SourceMemoMouse, ADragHeldAtAnEdgeScrollsAndStopsInTheMiddle)
{
    std::string rows;
    for (int i = 0; i < 300; ++i)
        rows += "row " + std::to_string(i) + "\r";
    memo.Store().InsertText(0, rows);
    memo.Changed(cfTextChanged);
    memo.SetTopRow(100);
    QMimeData mime;
    mime.setText("dragged");
    EXPECT_NE(moveTo(mime, QPoint(memo.TextLeft() + 20, 1)), Qt::IgnoreAction);
    QTest::qWait(400);
    const int64_t scrolledUp = memo.TopRow();
    EXPECT_LT(scrolledUp, 100);
    moveTo(mime, QPoint(memo.TextLeft() + 20, view()->height() / 2));
    QTest::qWait(300);
    EXPECT_EQ(memo.TopRow(), scrolledUp);
    moveTo(mime, QPoint(memo.TextLeft() + 20, view()->height() - 1));
    QTest::qWait(400);
    EXPECT_GT(memo.TopRow(), scrolledUp);
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(view(), &leave);
    const int64_t left = memo.TopRow();
    QTest::qWait(300);
    EXPECT_EQ(memo.TopRow(), left);
}
