// The main window's edit commands (Edit menu, tool buttons, the editor's pop-up menu), the
// pop-up menu itself with its bookmark items, the editor's undo and redo keys, and the hints
// of the menu items, which show in status panel 5 as the tool buttons' hints do.
#include "ide/EditorMainForm.h"

#include "base/Exception.h"
#include "build/qt/BuildCommands.h"
#include "editor/edit/SourceEditor.h"
#include "editor/widget/SourceMemo.h"
#include "ide/search/CaseChange.h"
#include "platform/QtText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include <new>

namespace {

// The editor's keyboard commands the main window runs itself.
constexpr int32_t ecUndo = 41;
constexpr int32_t ecRedo = 42;

struct TMenuHint
{
    const char* item;
    const char* hint;
};

constexpr TMenuHint menuHints[] = {
    {"PrintSetup1", "Set printer options"},
    {"EpicProg", "Melab's EPIC Programmer"},
    {"ExtProg", "Programmer of choice"},
    {"ProgrammerPath1", "Choose an External Programmer"},
    {"EPICPath1", "Locate EPIC Directory"},
    {"Program1", "Program the PICmicro using a conventional programmer"},
    {"ChooseBootloader1", "Choose the type of bootloader to use"},
    {"BootloaderPath1", "Choose and Locate an External Bootloader"},
    {"MELOADERPath1", "Locate MeLoader Directory"},
    {"Download1", "Program the PICmicro via the Downloader"},
    {"Help1", "Load the compiler's help file"},
};

} // namespace

void TEditorMainForm::connectEditCommands()
{
    const std::pair<const char*, void (TEditorMainForm::*)()> items[] = {
        {"Undo1", &TEditorMainForm::UndoButtonClick},       {"Redo1", &TEditorMainForm::RedoButtonClick},
        {"Cut1", &TEditorMainForm::CutButtonClick},         {"Copy1", &TEditorMainForm::CopyButtonClick},
        {"Paste1", &TEditorMainForm::PasteButtonClick},     {"Delete1", &TEditorMainForm::Delete1Click},
        {"SelectAll1", &TEditorMainForm::SelectAll1Click},  {"Upper1", &TEditorMainForm::Upper1Click},
        {"Lower1", &TEditorMainForm::Lower1Click},          {"Capitalise1", &TEditorMainForm::Capitalise1Click},
    };
    for (const auto& [name, handler] : items) {
        QAction* item = action(name);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, handler);
    }
    connect(m_editMenu, &QMenu::aboutToShow, this, &TEditorMainForm::Edit1Click);
    SourceMemo1->OnCommandRecognised = [this](TSourceMemo*, int32_t& command) {
        SourceMemo1CommandRecognised(command);
    };
    createEditorPopupMenu();
    setMenuHints();
}

// Runs an edit on the editor and refreshes as every command does. An error the editor
// raises (out of memory, a read-only store) is shown; the program goes on.
void TEditorMainForm::runEdit(const std::function<void(TSourceEditor&)>& edit)
{
    if (!m_current)
        return;
    try {
        edit(SourceMemo1->Editor());
    } catch (const Exception& error) {
        showError(cp1252ToQString(error.what()));
    } catch (const std::bad_alloc&) {
        showError("Out of memory");
    }
    SourceMemo1->Editor().NotifyChange();
    SourceMemo1->viewport()->update();
    SourceMemo1->setFocus();
    SourceMemo1Change();
}

void TEditorMainForm::UndoButtonClick()
{
    runEdit([](TSourceEditor& e) { e.Undo(); });
}

void TEditorMainForm::RedoButtonClick()
{
    runEdit([](TSourceEditor& e) { e.Redo(); });
}

void TEditorMainForm::CutButtonClick()
{
    runEdit([](TSourceEditor& e) { e.CutToClipboard(); });
}

void TEditorMainForm::CopyButtonClick()
{
    runEdit([](TSourceEditor& e) { e.CopyToClipboard(); });
}

void TEditorMainForm::PasteButtonClick()
{
    runEdit([](TSourceEditor& e) { e.PasteFromClipboard(); });
}

void TEditorMainForm::IndentButtonClick()
{
    runEdit([](TSourceEditor& e) { e.IndentBlock(0, false); });
}

void TEditorMainForm::UndentButtonClick()
{
    runEdit([](TSourceEditor& e) { e.UnindentBlock(0); });
}

void TEditorMainForm::Delete1Click()
{
    runEdit([](TSourceEditor& e) {
        if (e.SelLength() > 0)
            e.ReplaceSelection({});
    });
}

void TEditorMainForm::SelectAll1Click()
{
    runEdit([](TSourceEditor& e) { e.SelectAll(); });
}

void TEditorMainForm::replaceSelectionBy(std::string (*change)(std::string_view))
{
    runEdit([change](TSourceEditor& e) {
        if (e.SelLength() > 0)
            e.ReplaceSelection(change(e.SelText()));
    });
}

void TEditorMainForm::Upper1Click()
{
    replaceSelectionBy(&upperCaseOf);
}

void TEditorMainForm::Lower1Click()
{
    replaceSelectionBy(&lowerCaseOf);
}

void TEditorMainForm::Capitalise1Click()
{
    replaceSelectionBy(&capitalisedOf);
}

// The Edit menu opens: Undo, Redo, Cut, Copy and Paste as their tool buttons, Delete with a
// selection.
void TEditorMainForm::Edit1Click()
{
    SourceMemo1Change();
    for (const auto& [item, button] : {std::pair{"Undo1", "UndoButton"}, std::pair{"Redo1", "RedoButton"},
                                       std::pair{"Paste1", "PasteButton"}, std::pair{"Cut1", "CutButton"},
                                       std::pair{"Copy1", "CopyButton"}})
        action(item)->setEnabled(toolButton(button)->isEnabled());
    action("Delete1")->setEnabled(m_current && SourceMemo1->Editor().SelLength() > 0);
}

void TEditorMainForm::PopupMenu1Popup()
{
    SourceMemo1Change();
    for (const auto& [item, button] : {std::pair{"PopupPaste", "PasteButton"}, std::pair{"PopupCut", "CutButton"},
                                       std::pair{"PopupCopy", "CopyButton"}})
        action(item)->setEnabled(toolButton(button)->isEnabled());
    action("PopupDelete")->setEnabled(m_current && SourceMemo1->Editor().SelLength() > 0);
}

// Commands 41 and 42 of the key map (Undo, Redo) run the window's own commands, so that
// they refresh the window like the tool buttons; the editor does nothing more with them.
void TEditorMainForm::SourceMemo1CommandRecognised(int32_t& command)
{
    if (command == ecUndo) {
        UndoButtonClick();
        command = -1;
    } else if (command == ecRedo) {
        RedoButtonClick();
        command = -1;
    }
}

// The bookmark number is the last character of the item's caption, when it is a digit.
namespace {
int bookmarkNumberOf(const QAction* item)
{
    const QString caption = item ? item->text() : QString();
    if (caption.isEmpty() || !caption.back().isDigit())
        return -1;
    return caption.back().digitValue();
}
} // namespace

void TEditorMainForm::Bookmark91Click(QAction* item)
{
    const int number = bookmarkNumberOf(item);
    if (number < 0 || !m_current)
        return;
    SourceMemo1->SetBookmark(number);
    SourceMemo1->viewport()->update();
    SourceMemo1Change();
}

void TEditorMainForm::Bookmark92Click(QAction* item)
{
    const int number = bookmarkNumberOf(item);
    if (number < 0 || !m_current)
        return;
    int64_t line = 0;
    int column = 0;
    if (SourceMemo1->GetBookmark(number, line, column))
        SourceMemo1->GotoBookmark(number);
    SourceMemo1->setFocus();
    SourceMemo1Change();
}

QAction* TEditorMainForm::addPopupItem(const QString& name, const QString& caption, void (TEditorMainForm::*handler)())
{
    QAction* item = PopupMenu1->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, handler);
    return item;
}

void TEditorMainForm::createEditorPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    QAction* closePage = addPopupItem("Closepage1", "Close page", &TEditorMainForm::closePageFromPopup);
    // Ctrl+F4 itself belongs to the tab strip's item; here it is only shown.
    closePage->setShortcut(QKeySequence("Ctrl+F4"));
    closePage->setShortcutContext(Qt::WidgetShortcut);
    PopupMenu1->addSeparator();
    addPopupItem("PopupCut", "Cut", &TEditorMainForm::CutButtonClick);
    addPopupItem("PopupCopy", "Copy", &TEditorMainForm::CopyButtonClick);
    addPopupItem("PopupPaste", "Paste", &TEditorMainForm::PasteButtonClick);
    addPopupItem("PopupDelete", "Delete", &TEditorMainForm::Delete1Click);
    PopupMenu1->addSeparator();
    addPopupItem("PopupSelectAll", "Select all", &TEditorMainForm::SelectAll1Click);
    PopupMenu1->addSeparator();
    QMenu* toggle = PopupMenu1->addMenu("Toggle bookmark");
    toggle->menuAction()->setObjectName("ToggleBookmark1");
    QMenu* go = PopupMenu1->addMenu("Goto bookmark");
    go->menuAction()->setObjectName("GotoBookmark1");
    for (int n = 0; n < 10; ++n) {
        QAction* set = toggle->addAction(QString("Bookmark &%1").arg(n));
        set->setObjectName(QString("ToggleBookmark%1").arg(n));
        connect(set, &QAction::triggered, this, [this, set] { Bookmark91Click(set); });
        QAction* jump = go->addAction(QString("Bookmark &%1").arg(n));
        jump->setObjectName(QString("GotoBookmark%1").arg(n));
        connect(jump, &QAction::triggered, this, [this, jump] { Bookmark92Click(jump); });
    }
    PopupMenu1->addSeparator();
    addPopupItem("PopupCompile", "Compile", &TEditorMainForm::CompileButtonClick);
    QAction* program = PopupMenu1->addAction("Program PIC");
    program->setObjectName("PopupProgram");
    connect(program, &QAction::triggered, this, [this] { m_build->ProgramButtonClick(); });
    QAction* download = PopupMenu1->addAction("Download Program");
    download->setObjectName("PopupDownload");
    connect(download, &QAction::triggered, this, [this] { m_build->DownloadButtonClick(); });
    // The Run submenu: hidden and disabled until the tool programs are listed in it.
    QAction* divider = PopupMenu1->addSeparator();
    divider->setObjectName("PoPup_Menu_Divider");
    RunPopupMenu = PopupMenu1->addMenu("Run");
    RunPopupMenu->setObjectName("RunPopupMenu");
    RunPopupMenu->menuAction()->setObjectName("PopUp_Menu_RUNLIST");
    for (QAction* hidden : {divider, RunPopupMenu->menuAction()}) {
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    // A menu shown on its own sends no hints to the window; its items' hovering does.
    for (QMenu* menu : {PopupMenu1, toggle, go, RunPopupMenu})
        connect(menu, &QMenu::hovered, this, [this](QAction* item) {
            if (!item->statusTip().isEmpty())
                ShowInfo(item->statusTip());
        });
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TEditorMainForm::PopupMenu1Popup);
    SourceMemo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SourceMemo1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (m_current)
            PopupMenu1->popup(SourceMemo1->viewport()->mapToGlobal(at));
    });
}

void TEditorMainForm::closePageFromPopup()
{
    Close1Click();
}

void TEditorMainForm::setMenuHints()
{
    for (const TMenuHint& entry : menuHints)
        if (QAction* item = action(entry.item))
            item->setStatusTip(entry.hint);
}
