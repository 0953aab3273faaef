// The printers of the system and the page set-up dialog, asked through printers() so that tests
// can answer them. The page set-up record says which printer prints and with which margins;
// printing to a PDF file is one of the choices, so a desktop without a printer queue can still
// print.
#pragma once

#include <optional>
#include <string>
#include <vector>

// What Print Setup chose. Margins are thousandths of an inch (0 and more).
struct TPageSetup
{
    int MarginLeft = 0;
    int MarginTop = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    std::string PrinterName; // an installed printer; empty: the system's default printer
    bool ToPdf = false;      // print into PdfFileName instead of on a printer
    std::string PdfFileName; // UTF-8
    int PaperSize = -1;      // QPageSize::PageSizeId; -1: the printer's own
    bool Landscape = false;
    int Resolution = 0;      // dots per inch; 0: the printer's own
    bool operator==(const TPageSetup&) const = default;
};

class TPrinters
{
public:
    virtual ~TPrinters() = default;
    // The printers installed, by name; none on a desktop without a printer queue.
    virtual std::vector<std::string> installedPrinters() = 0;
    // The default printer's set-up, asked without a dialog: no margins, the default printer.
    virtual TPageSetup defaultPageSetup() = 0;
    // Shows the page set-up dialog starting from current (its printer and margins); the choice
    // made, none when the dialog was cancelled.
    virtual std::optional<TPageSetup> showPageSetup(const TPageSetup& current) = 0;
};

// The printers in use; until some are installed there are none and the dialog answers as
// cancelled.
TPrinters& printers();
// Installs printers (not owned; nullptr returns to the fallback) and returns the previous ones.
TPrinters* setPrinters(TPrinters* installed);

class TScopedPrinters
{
public:
    explicit TScopedPrinters(TPrinters& installed) : m_previous(setPrinters(&installed)) {}
    ~TScopedPrinters() { setPrinters(m_previous); }
    TScopedPrinters(const TScopedPrinters&) = delete;
    TScopedPrinters& operator=(const TScopedPrinters&) = delete;

private:
    TPrinters* m_previous;
};

// Whether a print with this set-up has somewhere to go: a PDF file, or an installed printer.
bool canPrintWith(const TPageSetup& setup, const std::vector<std::string>& installed);
