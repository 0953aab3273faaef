// The system's printers through Qt: the printer queues Qt's print support finds, the Print
// Setup dialog (printer or PDF file, margins, and Qt's page set-up dialog for the paper), and
// the QPrinter a page set-up record describes.
#pragma once

#include "platform/Printers.h"

#include <memory>

class QPrinter;

class TQtPrinters : public TPrinters
{
public:
    std::vector<std::string> installedPrinters() override;
    TPageSetup defaultPageSetup() override;
    std::optional<TPageSetup> showPageSetup(const TPageSetup& current) override;
};

// The caption of the printer choice that writes a PDF file.
extern const char* const pdfPrinterCaption;

// A printer for the set-up: its printer (or PDF file), paper, orientation and resolution, with
// no margins of its own and painting from the sheet's corner, so that the print area alone
// decides where text goes.
std::unique_ptr<QPrinter> makePrinter(const TPageSetup& setup);
