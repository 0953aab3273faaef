// The main window's edit and search commands through their real dialogs and menus: what the
// find and replace dialogs find, replace and remember, Search Again, Show all and its removal,
// Goto line with its range, the case changes, the Edit and pop-up menus' enabling, the
// editor's undo keys, the bookmark items and the hints of menu items.
#include "editor/marks/MarkList.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdFindDlg.h"
#include "ide/EdPersistent.h"
#include "ide/EdReplDlg.h"
#include "ide/GotoLineDialog.h"
#include "ide/StatusPanels.h"
#include "ide/search/ShowAllMarks.h"
#include "ProgramFixture.h"

#include "editor/dialogs/ChooserDialogs.h"

#include "base/Stream.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// The colour and font dialogs, answered as cancelled.
class CancellingChoosers : public TChooserDialogs
{
public:
    std::optional<TColorValue> chooseColor(TColorValue) override
    {
        ++asked;
        return std::nullopt;
    }
    std::optional<TFontChoice> chooseFont(const TFontChoice&) override
    {
        ++asked;
        return std::nullopt;
    }
    int asked = 0;
};

class EditSearchCommandsTest : public ProgramFixture
{
protected:
    EditSearchCommandsTest()
    {
        writeIni("[PROGRAMMER]\r\nTYPE=EPIC\r\n");
        TZbxEditServices replaced = services();
        replaced.chooserDialogs = &m_choosers;
        m_program = std::make_unique<TZbxEditProgram>(std::vector<std::string>{"zbxedit"}, replaced);
        if (m_program->start())
            throw std::runtime_error("the program ended at start");
        QTest::qWait(20);
        m_form = &m_program->mainForm();
    }
    ~EditSearchCommandsTest() override
    {
        EXPECT_EQ(m_boxes.pendingAnswers(), 0u) << "answers left over";
    }

    // The shown file's text, loaded as from disk (the undo log starts empty).
    void load(const std::string& text)
    {
        TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
        memo().Store().LoadFromStream(stream);
        editor().SetSelection(0, 0);
        m_form->SourceMemo1Change();
    }
    TSourceMemo& memo() const { return *m_form->SourceMemo1; }
    TSourceEditor& editor() const { return memo().Editor(); }
    std::string text() const { return memo().Store().GetText(); }
    void select(int64_t from, int64_t to) { editor().SetSelection(from, to); }
    TSelectionPair selection() const { return editor().Selection(); }
    void trigger(const char* item) { m_form->action(item)->trigger(); }
    size_t boxes() const { return m_boxes.shown().size(); }
    const TShownMessageBox& lastBox() const { return m_boxes.shown().back(); }

    TEdFindDlg& openFind()
    {
        trigger("Find1");
        TEdFindDlg& dialog = m_form->EdFindDlg();
        EXPECT_TRUE(dialog.isVisible());
        return dialog;
    }
    void findWith(TEdFindDlg& dialog, const QString& text)
    {
        dialog.FindHistoryBox->setEditText(text);
        dialog.OKButton->click();
    }
    TEdReplDlg& openReplace(const QString& find, const QString& with, bool prompt)
    {
        trigger("Replace1");
        TEdReplDlg& dialog = m_form->EdReplDlg();
        dialog.FindHistoryBox->setEditText(find);
        dialog.ReplHistoryBox->setEditText(with);
        dialog.PromptOnReplBox->setChecked(prompt);
        return dialog;
    }
    int64_t showAllMarks() const
    {
        int64_t count = 0;
        for (TMark* m = memo().Marks().FirstMark(); m; m = memo().Marks().NextMark(*m))
            count += m->Tag == kShowAllMarkTag;
        return count;
    }
    // Runs the Goto dialog, typing each of entries into its box and pressing OK.
    void gotoLine(std::vector<QString> entries)
    {
        QTimer::singleShot(0, m_form, [this, entries] {
            TGotoLineDialog& dialog = m_form->GotoLineDialog();
            for (const QString& entry : entries) {
                if (!dialog.isVisible())
                    return;
                dialog.LineNumberBox->setText(entry);
                dialog.OKButton->click();
            }
            if (dialog.isVisible())
                dialog.reject();
        });
        trigger("Gotolinenumber1");
    }

    CancellingChoosers m_choosers;
    TEditorMainForm* m_form = nullptr;
};

} // namespace

TEST_F(EditSearchCommandsTest, FindSkipsTheSelectedMatchAndSaysWhenThereIsNoMore)
{
    load("ABC abc\rabc");
    select(0, 3);
    TEdFindDlg& dialog = openFind();
    EXPECT_EQ(dialog.FindHistoryBox->currentText(), "ABC"); // the selection is the start text
    EXPECT_EQ(dialog.windowTitle(), "Find text...");
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(dialog.isModal());
    EXPECT_FALSE(memo().HideSelection());
    findWith(dialog, "abc");
    EXPECT_EQ(selection(), (TSelectionPair{4, 7}));
    dialog.OKButton->click();
    EXPECT_EQ(selection(), (TSelectionPair{8, 11}));
    m_boxes.answer(TMessageResult::Ok);
    dialog.OKButton->click();
    EXPECT_EQ(lastBox().text, "\"abc\" not found");
    EXPECT_EQ(selection(), (TSelectionPair{9, 9})); // where the step past the match left it

    // Case-sensitive: the selected ABC is only stepped over when it matches exactly.
    select(0, 3);
    dialog.UseCaseBox->setChecked(true);
    m_boxes.answer(TMessageResult::Ok);
    findWith(dialog, "ABC"); // the only ABC was selected, so nothing else is found
    EXPECT_EQ(lastBox().text, "\"ABC\" not found");
    EXPECT_EQ(selection(), (TSelectionPair{1, 1}));

    dialog.FindHistoryBox->setEditText("");
    EXPECT_FALSE(dialog.OKButton->isEnabled());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(memo().HideSelection());
    // ABC and abc are one entry, in the letters of the newest search.
    EXPECT_EQ(m_form->settings().ReadList("FindHistory"), (std::vector<std::string>{"ABC"}));
}

TEST_F(EditSearchCommandsTest, SearchAgainRepeatsTheLastFindWithItsOptions)
{
    load("x dim DIM dim");
    EXPECT_FALSE(m_form->action("SearchAgain1")->isEnabled());
    TEdFindDlg& dialog = openFind();
    dialog.UseCaseBox->setChecked(true);
    findWith(dialog, "dim");
    dialog.reject();
    EXPECT_EQ(selection(), (TSelectionPair{2, 5}));
    EXPECT_TRUE(m_form->action("SearchAgain1")->isEnabled());
    EXPECT_EQ(m_form->settings().LastFindText, "dim");
    EXPECT_EQ(m_form->settings().LastFindOptions, 0x18);
    trigger("SearchAgain1");
    EXPECT_EQ(selection(), (TSelectionPair{10, 13})); // DIM is passed over
    // Reopened, the dialog starts with the last search and its options.
    select(0, 0);
    TEdFindDlg& again = openFind();
    EXPECT_EQ(again.FindHistoryBox->currentText(), "dim");
    EXPECT_TRUE(again.UseCaseBox->isChecked());
    again.reject();
}

TEST_F(EditSearchCommandsTest, ReplaceNextAsksAndReplacesOnlyOnYes)
{
    load("one two one");
    TEdReplDlg& dialog = openReplace("one", "1", true);
    EXPECT_EQ(dialog.windowTitle(), "Find and replace text...");
    m_boxes.answer(TMessageResult::No);
    dialog.OKButton->click();
    EXPECT_EQ(lastBox().text, "Replace this instance of \"one\" with \"1\" ?");
    EXPECT_EQ(lastBox().buttons, TMessageButtons::YesNoCancel);
    EXPECT_EQ(text(), "one two one");
    m_boxes.answer(TMessageResult::Yes);
    dialog.OKButton->click();
    EXPECT_EQ(text(), "one two 1");
    dialog.PromptOnReplBox->setChecked(false);
    select(0, 0);
    dialog.OKButton->click();
    EXPECT_EQ(text(), "1 two 1");
    EXPECT_EQ(m_form->settings().LastFindText, ""); // replace next is no search to repeat
    dialog.reject();
    EXPECT_EQ(m_form->settings().ReadList("ReplaceHistory"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(m_form->settings().ReadList("FindHistory"), (std::vector<std::string>{"one"}));
}

TEST_F(EditSearchCommandsTest, ReplaceAllWithNoNoYesIsUndoneInOneStep)
{
    load("cat cat cat\rcat");
    TEdReplDlg& dialog = openReplace("cat", "dog", true);
    for (TMessageResult answer : {TMessageResult::No, TMessageResult::No, TMessageResult::Yes, TMessageResult::No})
        m_boxes.answer(answer);
    dialog.ReplaceAllButton->click();
    EXPECT_EQ(text(), "cat cat dog\rcat");
    EXPECT_EQ(boxes(), 4u);
    EXPECT_TRUE(dialog.PromptOnReplBox->isEnabled());
    EXPECT_EQ(m_form->settings().LastFindText, "cat");
    EXPECT_TRUE(m_form->toolButton("UndoButton")->isEnabled());
    m_form->UndoButtonClick();
    EXPECT_EQ(text(), "cat cat cat\rcat");
    EXPECT_FALSE(editor().CanUndo());
    dialog.reject();
}

TEST_F(EditSearchCommandsTest, ReplaceAllOfAByAaWithoutPromptingEndsAndUndoesInOneStep)
{
    load("a b a\raa");
    TEdReplDlg& dialog = openReplace("a", "aa", false);
    dialog.BackDirection->setChecked(true); // the whole document all the same
    dialog.ReplaceAllButton->click();
    EXPECT_EQ(text(), "aa b aa\raaaa");
    EXPECT_EQ(boxes(), 0u);
    m_form->UndoButtonClick();
    EXPECT_EQ(text(), "a b a\raa");
    dialog.reject();
}

TEST_F(EditSearchCommandsTest, ShowAllMarksEveryMatchAndTypingRemovesThem)
{
    load("dim a\rDIM b\rdim c");
    TEdFindDlg& dialog = openFind();
    findWith(dialog, "dim");
    dialog.reject();
    trigger("Showall1");
    EXPECT_EQ(showAllMarks(), 3);
    EXPECT_TRUE(m_form->marksShown());
    trigger("Showall1"); // again: still one mark per match
    EXPECT_EQ(showAllMarks(), 3);

    // The marks are drawn inverted: the white background under a mark turns black.
    memo().resize(400, 200);
    const QImage shown = memo().viewport()->grab().toImage();
    const QPoint inMark = memo().PosFromChar(0) + QPoint(1, memo().LineHeight() - 2);
    EXPECT_EQ(QColor(shown.pixel(inMark)).lightness(), 0) << "inverted";
    const QPoint pastMark = memo().PosFromChar(4) + QPoint(1, memo().LineHeight() - 2);
    EXPECT_EQ(QColor(shown.pixel(pastMark)).lightness(), 255);

    memo().setFocus();
    QTest::keyClicks(&memo(), "x");
    EXPECT_EQ(showAllMarks(), 0);
    EXPECT_FALSE(m_form->marksShown());
}

TEST_F(EditSearchCommandsTest, ShowAllWithoutALastSearchOpensTheFindDialog)
{
    load("text");
    trigger("Showall1");
    EXPECT_TRUE(m_form->EdFindDlg().isVisible());
    EXPECT_EQ(showAllMarks(), 0);
    m_form->EdFindDlg().reject();
}

TEST_F(EditSearchCommandsTest, GotoLineOnTenLinesAcceptsOneToElevenAndCentresTheLine)
{
    std::string lines;
    for (int i = 1; i <= 10; ++i)
        lines += "line " + std::to_string(i) + "\r\n";
    load(lines);
    for (int refused = 0; refused < 3; ++refused)
        m_boxes.answer(TMessageResult::Ok);
    gotoLine({"0", "12", "ten", "11"});
    ASSERT_EQ(boxes(), 3u);
    for (const TShownMessageBox& box : m_boxes.shown()) {
        EXPECT_EQ(box.text, "Value must be between 1 and 11");
        EXPECT_EQ(box.kind, TMessageKind::Warning);
    }
    EXPECT_EQ(editor().CaretLine(), 11);
    EXPECT_EQ(selection(), (TSelectionPair{71, 71})); // the empty line after the last break
    gotoLine({"4"});
    EXPECT_EQ(selection(), (TSelectionPair{21, 21}));
    EXPECT_EQ(m_form->GotoLineDialog().windowTitle(), "Go to line number");

    // A long file: the line lands in the middle of the view.
    std::string many;
    for (int i = 1; i <= 300; ++i)
        many += "row " + std::to_string(i) + "\r\n";
    load(many);
    gotoLine({"200"});
    const int64_t half = memo().viewport()->height() / memo().LineHeight() / 2;
    EXPECT_EQ(memo().TopRow(), 199 - half);
    EXPECT_EQ(editor().CaretLine(), 200);
}

TEST_F(EditSearchCommandsTest, CaseCommandsChangeTheSelectionOnly)
{
    load("hELLO wORLD and more");
    select(0, 11);
    trigger("Capitalise1");
    EXPECT_EQ(text(), "Hello world and more");
    select(12, 15);
    trigger("Upper1");
    EXPECT_EQ(text(), "Hello world AND more");
    select(0, 5);
    trigger("Lower1");
    EXPECT_EQ(text(), "hello world AND more");
    select(3, 3);
    trigger("Capitalise1");
    EXPECT_EQ(text(), "hello world AND more");
    m_form->UndoButtonClick();
    EXPECT_EQ(text(), "Hello world AND more");
}

TEST_F(EditSearchCommandsTest, EditAndPopupMenusFollowTheSelectionAndTheUndoLog)
{
    load("some text");
    m_form->Edit1Click();
    for (const char* item : {"Undo1", "Redo1", "Cut1", "Copy1", "Delete1"})
        EXPECT_FALSE(m_form->action(item)->isEnabled()) << item;
    m_form->PopupMenu1Popup();
    for (const char* item : {"PopupCut", "PopupCopy", "PopupDelete"})
        EXPECT_FALSE(m_form->action(item)->isEnabled()) << item;
    select(0, 4);
    m_form->Edit1Click();
    for (const char* item : {"Cut1", "Copy1", "Delete1"})
        EXPECT_TRUE(m_form->action(item)->isEnabled()) << item;
    trigger("Delete1");
    EXPECT_EQ(text(), " text");
    m_form->Edit1Click();
    EXPECT_TRUE(m_form->action("Undo1")->isEnabled());
    EXPECT_FALSE(m_form->action("Delete1")->isEnabled());
    trigger("Undo1");
    m_form->PopupMenu1Popup();
    EXPECT_TRUE(m_form->action("Redo1")->isEnabled() || m_form->toolButton("RedoButton")->isEnabled());
    EXPECT_EQ(text(), "some text");
    trigger("SelectAll1");
    EXPECT_EQ(selection().Start(), 0);
    EXPECT_EQ(selection().End(), 9);
    m_form->action("PopupCopy")->trigger();
    select(9, 9);
    m_form->PopupMenu1Popup();
    EXPECT_TRUE(m_form->action("PopupPaste")->isEnabled());
    m_form->action("PopupPaste")->trigger();
    EXPECT_EQ(text(), "some textsome text");
}

TEST_F(EditSearchCommandsTest, TheEditorsUndoAndRedoKeysRunTheWindowsCommands)
{
    load("abc");
    select(3, 3);
    memo().setFocus();
    QTest::keyClicks(&memo(), "d");
    EXPECT_FALSE(m_form->toolButton("RedoButton")->isEnabled());
    QTest::keyClick(&memo(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), "abc");
    // The window refreshed: Redo is now offered.
    EXPECT_TRUE(m_form->toolButton("RedoButton")->isEnabled());
}

TEST_F(EditSearchCommandsTest, BookmarkItemsSetAndGoToTheNumberOfTheirCaption)
{
    load("first\rsecond\rthird");
    QMenu* toggle = m_form->findChild<QAction*>("ToggleBookmark1")->menu();
    QMenu* go = m_form->findChild<QAction*>("GotoBookmark1")->menu();
    ASSERT_EQ(toggle->actions().size(), 10);
    ASSERT_EQ(go->actions().size(), 10);
    EXPECT_EQ(toggle->actions()[3]->text(), "Bookmark &3");
    select(8, 8);
    toggle->actions()[3]->trigger();
    int64_t line = 0;
    int column = 0;
    ASSERT_TRUE(memo().GetBookmark(3, line, column));
    select(0, 0);
    go->actions()[7]->trigger(); // not set: nothing moves
    EXPECT_EQ(selection(), (TSelectionPair{0, 0}));
    go->actions()[3]->trigger();
    EXPECT_EQ(selection(), (TSelectionPair{8, 8}));
    select(8, 8);
    toggle->actions()[3]->trigger(); // toggled off on the same row
    EXPECT_FALSE(memo().GetBookmark(3, line, column));
}

TEST_F(EditSearchCommandsTest, ThePopupMenuHoldsEveryItemAndAnEmptyHiddenRunMenu)
{
    QStringList captions;
    for (QAction* item : m_form->PopupMenu1->actions())
        if (!item->isSeparator())
            captions << item->text();
    EXPECT_EQ(captions, (QStringList{"Close page", "Cut", "Copy", "Paste", "Delete", "Select all", "Toggle bookmark",
                                     "Goto bookmark", "Compile", "Program PIC", "Download Program", "Run"}));
    ASSERT_NE(m_form->RunPopupMenu, nullptr);
    EXPECT_EQ(m_form->RunPopupMenu->title(), "Run");
    EXPECT_TRUE(m_form->RunPopupMenu->actions().isEmpty());
    EXPECT_FALSE(m_form->RunPopupMenu->menuAction()->isVisible());
    EXPECT_EQ(m_form->action("Closepage1")->shortcut(), QKeySequence("Ctrl+F4"));
}

TEST_F(EditSearchCommandsTest, HoveringAMenuItemShowsItsHintInPanelFive)
{
    // Opened from the menu bar, as a click or Alt+O opens it.
    QMenu* options = m_form->action("Download1")->associatedObjects().isEmpty()
                         ? nullptr
                         : qobject_cast<QMenu*>(m_form->action("Download1")->associatedObjects().front());
    ASSERT_NE(options, nullptr);
    m_form->menuBar()->setActiveAction(options->menuAction());
    QTest::qWait(50);
    ASSERT_TRUE(options->isVisible());
    options->setActiveAction(m_form->action("Download1")); // as the pointer or the arrow keys reach it
    QTest::qWait(50);
    EXPECT_EQ(m_form->StatusBar1->panelText(5), "  Program the PICmicro via the Downloader");
    options->hide();
    EXPECT_EQ(m_form->action("PrintSetup1")->statusTip(), "Set printer options");
    EXPECT_EQ(m_form->action("ChooseBootloader1")->statusTip(), "Choose the type of bootloader to use");

    // The report splitter's hint sits on its bar only; the widgets inside the splitter, which
    // pass tool tips they lack up to it, showed it wherever the pointer rested.
    QSplitterHandle* bar = m_form->Splitter1->handle(1);
    EXPECT_EQ(bar->toolTip(), "Resize the Report window");
    EXPECT_TRUE(m_form->Splitter1->toolTip().isEmpty());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(bar, &enter);
    EXPECT_EQ(m_form->StatusBar1->panelText(5), "  Resize the Report window");
}

TEST_F(EditSearchCommandsTest, HistoriesKeepTheTwentyNewestSearches)
{
    load("text");
    TEdFindDlg& dialog = openFind();
    for (int i = 0; i < 25; ++i) {
        m_boxes.answer(TMessageResult::Ok);
        findWith(dialog, QString("word%1").arg(i));
    }
    m_boxes.answer(TMessageResult::Ok);
    findWith(dialog, "WORD20"); // already there in other letters: moves to the top
    dialog.reject();
    const std::vector<std::string> saved = m_form->settings().ReadList("FindHistory");
    ASSERT_EQ(saved.size(), 20u);
    EXPECT_EQ(saved.front(), "WORD20");
    EXPECT_EQ(saved[1], "word24");
    EXPECT_EQ(saved.back(), "word5");
    TEdFindDlg& reopened = openFind();
    EXPECT_EQ(reopened.FindHistoryBox->count(), 20);
    reopened.reject();
}

TEST_F(EditSearchCommandsTest, CancellingTheBackgroundColourKeepsTheBackground)
{
    const int32_t before = memo().DefBackColor();
    trigger("ChooseBackgroundColour1");
    EXPECT_EQ(m_choosers.asked, 1);
    EXPECT_EQ(memo().DefBackColor(), before);
    const QFont font = memo().EditorFont();
    trigger("Font1");
    trigger("Linenumberfont1");
    EXPECT_EQ(m_choosers.asked, 3);
    EXPECT_EQ(memo().EditorFont(), font);
}
