// TASMList, the assembler listing window: the listing the compiler left beside the source, in
// an editable editor control, with a pop-up menu to edit it and to assemble it again through
// MPASMWIN.EXE of the include folder (waited for).
#pragma once

#include <memory>

#include "build/qt/ListingForm.h"

#include <string>

class QAction;
class QMenu;
class TProcessLauncher;
class TSourceMemo;
class TSourceMemoParser;

class TASMList : public TListingForm
{
    Q_OBJECT
public:
    // launcher starts the assembler; incDir is the include folder (ending in a separator).
    TASMList(std::string iniFile, std::string incDir, TProcessLauncher& launcher,
             QWidget* parent = nullptr);
    ~TASMList() override;

    const std::string& listingPath() const { return m_listingPath; }
    void setListingPath(std::string path) { m_listingPath = std::move(path); }
    // Loads ASMText from the listing file, or clears it when the file does not exist. A file
    // that exists but cannot be read raises EFOpenError.
    void loadListing();

    // Pop-up menu handlers.
    void ASM_POPUPPopup(); // enables Cut and Copy with a selection, Paste when the editor can
    void Assemble1Click();
    void Assemble_ASClick();

    TSourceMemo* ASMText = nullptr;
    QMenu* ASM_POPUP = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* Assemble1 = nullptr;
    QAction* Assemble_AS = nullptr;

private:
    // The window's own highlighter for assembler text; ASMText uses it and never outlives it.
    std::unique_ptr<TSourceMemoParser> m_assemblerParser;
    void createPopup();
    void clearText();
    // Writes the text to path and assembles with command; errors go to the standard error box.
    void saveAndAssemble(const std::string& path, bool asInhx8m);

    std::string m_incDir;
    TProcessLauncher& m_launcher;
    std::string m_listingPath;
};
