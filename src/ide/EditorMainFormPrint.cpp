// The File menu's printing: Print Setup keeps the page set-up record, Print gives the editor
// the printable rectangle of the sheet and lets it print the current file.
#include "ide/EditorMainForm.h"

#include "base/Exception.h"
#include "editor/print/PrintArea.h"
#include "editor/widget/SourceMemo.h"
#include "ide/ZbxEditProgram.h"
#include "platform/MessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtText.h"

#include <QAction>
#include <QPrinter>
#include <QToolButton>

namespace {

const char* const noPrinterForPrint =
    "No printer is installed.\rChoose File > Print Setup... and pick \"PDF file\" as the printer to "
    "print into a PDF file.";
const char* const noPrinterForSetup =
    "No printer is installed.\rYou can print into a PDF file: pick \"PDF file\" as the printer.";

} // namespace

void TEditorMainForm::connectPrintCommands()
{
    for (const char* name : {"Print1", "PrintSetup1"})
        action(name)->setEnabled(true);
    toolButton("PrintButton")->setEnabled(true);
    connect(action("Print1"), &QAction::triggered, this, &TEditorMainForm::PrintButtonClick);
    connect(toolButton("PrintButton"), &QToolButton::clicked, this, &TEditorMainForm::PrintButtonClick);
    action("PrintSetup1")->setStatusTip("Set printer options");
    connect(action("PrintSetup1"), &QAction::triggered, this, &TEditorMainForm::PrintSetup1Click);
    SourceMemo1->OnPrintSelectionCommand = [this](TSourceMemo*) { PrintSelectionClick(); };
}

void TEditorMainForm::PrintSetup1Click()
{
    if (printers().installedPrinters().empty() && !m_pageSetup.ToPdf)
        messageBoxes().show(TMessageKind::Information, applicationTitle, noPrinterForSetup, TMessageButtons::Ok);
    if (const std::optional<TPageSetup> chosen = printers().showPageSetup(m_pageSetup)) {
        m_pageSetup = *chosen;
        // The next print makes the printer the record now names.
        SourceMemo1->SetPrinter(nullptr);
        m_printer.reset();
    }
    SourceMemo1Change();
}

bool TEditorMainForm::preparePrint()
{
    const std::vector<std::string> installed = printers().installedPrinters();
    if (!canPrintWith(m_pageSetup, installed)) {
        const std::string text = !m_pageSetup.ToPdf && !m_pageSetup.PrinterName.empty() && !installed.empty()
                                     ? "The printer \"" + m_pageSetup.PrinterName +
                                           "\" is not installed.\rChoose another one in File > Print Setup..."
                                     : noPrinterForPrint;
        messageBoxes().show(TMessageKind::Information, applicationTitle, text, TMessageButtons::Ok);
        return false;
    }
    if (!m_printer)
        m_printer = makePrinter(m_pageSetup);
    // The sheet in device units, less the margins at the printer's resolution.
    const QRect sheet = m_printer->pageLayout().fullRectPixels(m_printer->resolution());
    const TPageMargins margins{m_pageSetup.MarginLeft, m_pageSetup.MarginTop, m_pageSetup.MarginRight,
                               m_pageSetup.MarginBottom};
    SourceMemo1->SetPrinter(m_printer.get());
    SourceMemo1->SetPrintArea(PrintAreaOf(sheet.width(), sheet.height(), m_printer->logicalDpiX(),
                                          m_printer->logicalDpiY(), margins));
    return true;
}

void TEditorMainForm::runPrint(void (TSourceMemo::*print)())
{
    if (!m_current)
        return;
    if (preparePrint()) {
        try {
            (SourceMemo1->*print)();
        } catch (const Exception& error) {
            showError(localToQString(error.Message()));
        }
    }
    SourceMemo1->setFocus();
    SourceMemo1Change();
}

void TEditorMainForm::PrintButtonClick()
{
    runPrint(&TSourceMemo::Print);
}

void TEditorMainForm::PrintSelectionClick()
{
    runPrint(&TSourceMemo::PrintSelection);
}
