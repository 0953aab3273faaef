// The assembler listing window: its editor control, pop-up menu and re-assembly.
#include "build/qt/ASMList.h"

#include "base/Stream.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "build/AssembleCommand.h"
#include "build/qt/BuildErrorBox.h"
#include "build/qt/ProcessLauncher.h"
#include "editor/edit/EditorOptions.h"
#include "editor/widget/SourceMemo.h"
#include "platform/FileDialogs.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

#include <filesystem>

namespace {

constexpr int kAssemblerTabWidth = 8;

} // namespace

TASMList::TASMList(std::string iniFile, std::string incDir, TProcessLauncher& launcher,
                   QWidget* parent)
    : TListingForm(ListingWindow::Assembler, std::move(iniFile), parent),
      m_incDir(std::move(incDir)), m_launcher(launcher)
{
    setObjectName("ASMList");
    setWindowTitle("ASSEMBLER Listing");
    ASMText = new TSourceMemo(this);
    ASMText->setObjectName("ASMText");
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::TypeWriter);
    ASMText->SetEditorFont(font);
    ASMText->SetTabColumns({});
    ASMText->SetTabDefault(kAssemblerTabWidth);
    ASMText->SetIndentStep(kAssemblerTabWidth);
    ASMText->SetOptions(ASMText->Options() | smoLineNumbers | smoShowGutter);
    m_assemblerParser = std::make_unique<TSourceMemoParser>();
    const auto stream = assemblerParserStream();
    TReadOnlyMemoryStream bytes(stream.data(), static_cast<int64_t>(stream.size()));
    m_assemblerParser->LoadParser(bytes);
    ASMText->SetParser(1, m_assemblerParser.get());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ASMText);
    createPopup();
}

void TASMList::createPopup()
{
    ASM_POPUP = new QMenu(this);
    ASM_POPUP->setObjectName("ASM_POPUP");
    Undo1 = ASM_POPUP->addAction("Undo", this, [this] { ASMText->Editor().Undo(); });
    Redo1 = ASM_POPUP->addAction("Redo", this, [this] { ASMText->Editor().Redo(); });
    ASM_POPUP->addSeparator();
    Cut1 = ASM_POPUP->addAction("Cut", this, [this] { ASMText->Editor().CutToClipboard(); });
    Copy1 = ASM_POPUP->addAction("Copy", this, [this] { ASMText->Editor().CopyToClipboard(); });
    Paste1 =
        ASM_POPUP->addAction("Paste", this, [this] { ASMText->Editor().PasteFromClipboard(); });
    ASM_POPUP->addSeparator();
    Assemble1 = ASM_POPUP->addAction("Re-Assemble", this, &TASMList::Assemble1Click);
    Assemble_AS = ASM_POPUP->addAction("Re-Assemble as...", this, &TASMList::Assemble_ASClick);
    ASMText->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ASMText, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
        ASM_POPUPPopup();
        ASM_POPUP->exec(ASMText->mapToGlobal(point));
    });
}

void TASMList::ASM_POPUPPopup()
{
    const bool selection = ASMText->Editor().SelLength() > 0;
    Cut1->setEnabled(selection);
    Copy1->setEnabled(selection);
    Paste1->setEnabled(ASMText->Editor().CanPaste());
}

void TASMList::clearText()
{
    TMemoryStream empty;
    ASMText->Store().LoadFromStream(empty);
}

void TASMList::loadListing()
{
    std::error_code error;
    if (!m_listingPath.empty() && std::filesystem::is_regular_file(m_listingPath, error))
        ASMText->LoadFromFile(m_listingPath);
    else
        clearText();
}

void TASMList::saveAndAssemble(const std::string& path, bool asInhx8m)
{
    try {
        ASMText->Store().SaveToFile(path);
    } catch (const Exception& error) {
        showErrorBox(error.Message());
        return;
    }
    m_launcher.run(asInhx8m ? reassembleAsCommand(m_incDir, path) : reassembleCommand(m_incDir, path));
}

void TASMList::Assemble1Click()
{
    saveAndAssemble(m_listingPath, false);
}

void TASMList::Assemble_ASClick()
{
    TFileDialogRequest request;
    request.kind = TFileDialogKind::Save;
    request.filter = "ASSEMBLER files|*.asm";
    request.fileName = m_listingPath;
    const std::optional<std::string> chosen = fileDialogs().run(request);
    if (chosen)
        saveAndAssemble(*chosen, true);
}

TASMList::~TASMList() = default;
