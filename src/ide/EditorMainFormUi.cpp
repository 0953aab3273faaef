// The main window's controls: tool bar, menus and the client area. Items whose commands are not
// built yet exist, disabled, so the menus already have their final shape.
#include "ide/EditorMainForm.h"

#include "ide/StatusPanels.h"
#include "ide/ToolIcons.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <functional>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct ToolButtonInfo {
    const char* name;
    ToolIcon icon;
    const char* hint;
    bool separatorBefore;
};

constexpr ToolButtonInfo toolButtons[] = {
    {"NewButton", ToolIcon::New, "Create a new file", false},
    {"OpenButton", ToolIcon::Open, "Open an existing file", false},
    {"SaveButton", ToolIcon::Save, "Save current file", false},
    {"PrintButton", ToolIcon::Print, "Print current file", false},
    {"PreviewButton", ToolIcon::Print, "Print preview", false},
    {"CutButton", ToolIcon::Cut, "Cut selection to clipboard", true},
    {"CopyButton", ToolIcon::Copy, "Copy selection to clipboard", false},
    {"PasteButton", ToolIcon::Paste, "Paste clipboard to file", false},
    {"UndoButton", ToolIcon::Undo, "Undo last action", true},
    {"RedoButton", ToolIcon::Redo, "Redo last action", false},
    {"IndentButton", ToolIcon::Indent, "Indent selected lines", true},
    {"UnindentButton", ToolIcon::Unindent, "Un-indent selected lines", false},
    {"CompileButton", ToolIcon::Compile, "Compile the BASIC Program", true},
    {"ProgramButton", ToolIcon::Program, "Program PIC device", false},
    {"DownloadButton", ToolIcon::Download, "Download the HEX file Serially", false},
    {"ASMButton", ToolIcon::Asm, "Display compiled code", false},
};

} // namespace

void TEditorMainForm::createToolBar()
{
    ToolBarPanel = new QWidget(this);
    ToolBarPanel->setObjectName("ToolBarPanel");
    ToolBarPanel->setFixedHeight(30);
    auto* layout = new QHBoxLayout(ToolBarPanel);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(1);
    for (const auto& info : toolButtons) {
        if (info.separatorBefore)
            layout->addSpacing(8);
        auto* button = new QToolButton(ToolBarPanel);
        button->setObjectName(info.name);
        button->setAutoRaise(true);
        button->setFixedSize(24, 24);
        button->setIcon(toolIcon(info.icon));
        button->setToolTip(info.hint);
        button->setStatusTip(info.hint);
        button->setEnabled(false); // each command enables its button when it is built
        layout->addWidget(button);
    }
    layout->addStretch(1);
    // There is no print preview.
    toolButton("PreviewButton")->hide();
}

QAction* TEditorMainForm::addAction(QMenu* menu, const QString& name, const QString& caption,
                                    const QKeySequence& shortcut)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    item->setEnabled(false);
    return item;
}

void TEditorMainForm::createMenus()
{
    QMenuBar* bar = menuBar();

    m_fileMenu = bar->addMenu("&File");
    addAction(m_fileMenu, "New1", "&New");
    addAction(m_fileMenu, "Open1", "&Open...", QKeySequence("Ctrl+O"));
    Reopen1 = m_fileMenu->addMenu("Re-open...");
    Reopen1->menuAction()->setObjectName("Reopen1");
    addAction(m_fileMenu, "Save1", "&Save", QKeySequence("Ctrl+S"));
    addAction(m_fileMenu, "SaveAs1", "Save &As...", QKeySequence("Ctrl+Alt+S"));
    addAction(m_fileMenu, "Close1", "&Close");
    addAction(m_fileMenu, "CloseAll1", "Close Al&l");
    m_fileSeparators.append(m_fileMenu->addSeparator());
    addAction(m_fileMenu, "Print1", "&Print");
    addAction(m_fileMenu, "PrintPreview1", "Print Preview")->setVisible(false);
    addAction(m_fileMenu, "PrintSetup1", "Print Se&tup...");
    m_fileSeparators.append(m_fileMenu->addSeparator());
    QAction* exit = addAction(m_fileMenu, "Exit1", "E&xit");
    exit->setEnabled(true);
    connect(exit, &QAction::triggered, this, &TEditorMainForm::Exit1Click);

    m_editMenu = bar->addMenu("&Edit");
    addAction(m_editMenu, "Undo1", "&Undo");
    addAction(m_editMenu, "Redo1", "&Redo");
    addAction(m_editMenu, "Cut1", "Cu&t");
    addAction(m_editMenu, "Copy1", "&Copy");
    addAction(m_editMenu, "Paste1", "&Paste");
    addAction(m_editMenu, "Delete1", "&Delete");
    addAction(m_editMenu, "SelectAll1", "Select &All", QKeySequence("Ctrl+A"));
    m_editMenu->addSeparator();
    addAction(m_editMenu, "Upper1", "Upper", QKeySequence("Ctrl+F5"));
    addAction(m_editMenu, "Lower1", "Lower", QKeySequence("Shift+F5"));
    addAction(m_editMenu, "Capitalise1", "Capitalise", QKeySequence("F5"));

    m_searchMenu = bar->addMenu("&Search");
    addAction(m_searchMenu, "Find1", "&Find...", QKeySequence("Ctrl+F"));
    addAction(m_searchMenu, "Replace1", "&Replace...", QKeySequence("Ctrl+R"));
    addAction(m_searchMenu, "SearchAgain1", "&Search Again", QKeySequence("F3"));
    addAction(m_searchMenu, "Showall1", "Show &all");
    addAction(m_searchMenu, "Gotolinenumber1", "&Goto line number", QKeySequence("Alt+G"));

    m_optionsMenu = bar->addMenu("&Options");
    addAction(m_optionsMenu, "Properties1", "&Properties...");
    addAction(m_optionsMenu, "Font1", "&Font...");
    addAction(m_optionsMenu, "Linenumberfont1", "&Line number font...");
    addAction(m_optionsMenu, "ChooseBackgroundColour1", "Choose Background Colour");
    m_optionsMenu->addSeparator();
    QMenu* programmer = m_optionsMenu->addMenu("Choose Programmer...");
    programmer->menuAction()->setObjectName("ChooseProgrammer1");
    auto* programmers = new QActionGroup(this);
    for (const char* name : {"EpicProg", "ExtProg"}) {
        QAction* item = addAction(programmer, name, name == QString("EpicProg") ? "Epic" : "Undefined");
        item->setCheckable(true);
        programmers->addAction(item);
    }
    addAction(m_optionsMenu, "ProgrammerPath1", "Programmer Path...");
    addAction(m_optionsMenu, "EPICPath1", "EPIC Path...");
    m_optionsMenu->addSeparator();
    QMenu* bootloader = m_optionsMenu->addMenu("Choose Bootloader");
    bootloader->menuAction()->setObjectName("ChooseBootloader1");
    static const char* const bootloaders[][2] = {{"Standard_Bootloader_Option", "Standard"},
                                                 {"MELoader_Option", "MELoader"},
                                                 {"KALTOR_IR_Bootloader_Option", "KALTOR IR"},
                                                 {"External_Bootloader_Option", "Undefined"}};
    for (const auto& entry : bootloaders) {
        QAction* item = addAction(bootloader, entry[0], entry[1]);
        item->setCheckable(true);
    }
    // The IR downloader's item appears only when its program is installed.
    action("KALTOR_IR_Bootloader_Option")->setVisible(false);
    addAction(m_optionsMenu, "BootloaderPath1", "Bootloader Path...");
    addAction(m_optionsMenu, "MELOADERPath1", "MELOADER Path...");
    m_optionsMenu->addSeparator();
    addAction(m_optionsMenu, "Download1", "Download", QKeySequence("F11"));
    addAction(m_optionsMenu, "Compile1", "Compile", QKeySequence("F9"));
    addAction(m_optionsMenu, "CompilethenDownload1", "Compile then Download", QKeySequence("F12"));
    addAction(m_optionsMenu, "Program1", "Program", QKeySequence("F10"));

    m_viewMenu = bar->addMenu("View");
    for (const auto& [name, caption, key] :
         {std::tuple{"REPORTWindow1", "REPORT Window", "F1"}, std::tuple{"ASSEMBLERData1", "ASSEMBLER Data", "F2"},
          std::tuple{"PROGRAMData1", "PROGRAM Data", "F4"}, std::tuple{"EEPROMData1", "EEPROM Data", "F6"}}) {
        addAction(m_viewMenu, name, caption, QKeySequence(key))->setCheckable(true);
    }
    m_viewMenu->addSeparator();
    addAction(m_viewMenu, "SerialTerminal1", "Serial Terminal");
    addAction(m_viewMenu, "Calculator1", "Calculator");
    addAction(m_viewMenu, "ASCIITable1", "ASCII Table");

    QMenu* help = bar->addMenu("&Help");
    addAction(help, "Help1", "Help");
    addAction(help, "About1", "&About");
}

void TEditorMainForm::createClientArea()
{
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(ToolBarPanel);

    OpenFilesTab = new QTabBar(central);
    OpenFilesTab->setObjectName("OpenFilesTab");
    OpenFilesTab->setExpanding(false);
    OpenFilesTab->setDocumentMode(true);
    // An empty tab bar asks for no height, and the layout keeps that while the edit area is
    // hidden; the bar keeps the height of one row of tabs instead.
    OpenFilesTab->addTab(QString("X"));
    OpenFilesTab->setMinimumHeight(OpenFilesTab->sizeHint().height());
    OpenFilesTab->removeTab(0);
    OpenFilesTab->setContextMenuPolicy(Qt::ActionsContextMenu);
    QAction* closePage = new QAction("Close page", OpenFilesTab);
    closePage->setObjectName("Closepage2");
    closePage->setShortcut(QKeySequence("Ctrl+F4"));
    closePage->setShortcutContext(Qt::WindowShortcut);
    connect(closePage, &QAction::triggered, this, [this] { Close1Click(); });
    QAction* reopenFile = new QAction("Re-Open File", OpenFilesTab);
    reopenFile->setObjectName("ReOpenFile1");
    connect(reopenFile, &QAction::triggered, this, [this] { ReOpenFileClick(); });
    OpenFilesTab->addAction(closePage);
    OpenFilesTab->addAction(reopenFile);

    SourceMemo1 = new TSourceMemo(central);
    SourceMemo1->setObjectName("SourceMemo1");
    setUpSourceMemo();

    StatusBar1 = new TStatusPanels(central);

    auto* editArea = new QWidget(central);
    editArea->setObjectName("EditArea");
    auto* editLayout = new QVBoxLayout(editArea);
    editLayout->setContentsMargins(0, 0, 0, 0);
    editLayout->setSpacing(0);
    editLayout->addWidget(OpenFilesTab);
    editLayout->addWidget(SourceMemo1, 1);
    editLayout->addWidget(StatusBar1);

    ReportMemo = new QPlainTextEdit(central);
    ReportMemo->setObjectName("ReportMemo");
    ReportMemo->setReadOnly(true);
    QFont reportFont = ReportMemo->font();
    reportFont.setBold(true);
    reportFont.setPointSize(10);
    ReportMemo->setFont(reportFont);
    ReportMemo->setMinimumHeight(20);
    ReportMemo->hide();

    Splitter1 = new QSplitter(Qt::Vertical, central);
    Splitter1->setObjectName("Splitter1");
    Splitter1->addWidget(editArea);
    Splitter1->addWidget(ReportMemo);
    // The hint belongs to the bar the user drags: set on the splitter itself, every child
    // without a tip of its own (tab strip, status bar, report) would show it too.
    const QString splitterHint = "Resize the Report window";
    Splitter1->handle(1)->setToolTip(splitterHint);
    Splitter1->handle(1)->setStatusTip(splitterHint);
    Splitter1->setCollapsible(0, false);
    Splitter1->setCollapsible(1, false);
    outer->addWidget(Splitter1, 1);
    setCentralWidget(central);
}

void TEditorMainForm::setFileCommandsVisible(bool visible)
{
    findChild<QWidget*>("EditArea")->setVisible(visible);
    for (const char* name : {"SaveButton", "CutButton", "CopyButton", "PasteButton", "UndoButton",
                             "RedoButton", "PrintButton", "IndentButton", "UnindentButton",
                             "CompileButton", "ProgramButton", "DownloadButton", "ASMButton"})
        toolButton(name)->setVisible(visible);
    for (const char* name : {"Save1", "SaveAs1", "Close1", "CloseAll1", "Print1", "PrintSetup1"})
        action(name)->setVisible(visible);
    for (QAction* separator : m_fileSeparators)
        separator->setVisible(visible);
    for (QMenu* menu : {m_editMenu, m_searchMenu, m_optionsMenu, m_viewMenu})
        menu->menuAction()->setVisible(visible);
}

// The editor as the main window sets it up: no border, Courier New 16 pixels high, line
// numbers in MS Sans Serif 11 pixels high, white on teal selection, the IDE's options.
void TEditorMainForm::setUpSourceMemo()
{
    SourceMemo1->SetBorderStyle(bsNone);
    SourceMemo1->SetScrollBars(ssBoth);
    SourceMemo1->FlatScrollBarStyle = fssREGULAR;
    SourceMemo1->HyperCursor = Qt::PointingHandCursor;
    SourceMemo1->MonoPrint = true;
    SourceMemo1->VisiblePropEdPages = ppOPTIONS | ppHIGHLIGHTING;
    QFont font("Courier New");
    font.setPixelSize(16);
    font.setStyleHint(QFont::TypeWriter);
    SourceMemo1->SetEditorFont(font);
    QFont gutterFont("MS Sans Serif");
    gutterFont.setPixelSize(11);
    SourceMemo1->SetGutterFont(gutterFont);
    SourceMemo1->SetMargin(2);
    SourceMemo1->SetRightMargin(80);
    SourceMemo1->SetOptions(smoSyntaxHighlight | smoPrintWrap | smoPrintLineNos | smoPrintFilename |
                            smoPrintDate | smoPrintPageNos | smoAutoIndent | smoWordSelect | smoShowGutter |
                            smoShowWrapColumn | smoTitleAsFilename | smoProcessDroppedFiles |
                            smoBlockOverwriteCursor | smoShowWrapGlyph | smoUseTAB | smoOLEDragSource |
                            smoLineNumbers);
    SourceMemo1->SetIndentStep(1);
    SourceMemo1->SetTabDefault(4);
    constexpr int32_t buttonFace = static_cast<int32_t>(0x8000000F);
    constexpr int32_t white = 0xFFFFFF;
    constexpr int32_t teal = 0x808000; // 0x00BBGGRR
    SourceMemo1->SetColors(buttonFace, white, white, teal);
    SourceMemo1->OnChange = [this](TSourceMemo*) { SourceMemo1Change(); };
    // The editing buttons share their handlers with the Edit menu and the pop-up menu.
    const std::pair<const char*, void (TEditorMainForm::*)()> editing[] = {
        {"CutButton", &TEditorMainForm::CutButtonClick},     {"CopyButton", &TEditorMainForm::CopyButtonClick},
        {"PasteButton", &TEditorMainForm::PasteButtonClick}, {"UndoButton", &TEditorMainForm::UndoButtonClick},
        {"RedoButton", &TEditorMainForm::RedoButtonClick},   {"IndentButton", &TEditorMainForm::IndentButtonClick},
        {"UnindentButton", &TEditorMainForm::UndentButtonClick},
    };
    for (const auto& [button, handler] : editing)
        connect(toolButton(button), &QToolButton::clicked, this, handler);
    SourceMemo1->OnFilesDropped = [this](TSourceMemo*, const QStringList& names, QPoint) {
        SourceMemo1FilesDropped(names);
    };
}
