#include "platform/Printers.h"

#include <algorithm>

namespace {

class TNoPrinters : public TPrinters
{
public:
    std::vector<std::string> installedPrinters() override { return {}; }
    TPageSetup defaultPageSetup() override { return {}; }
    std::optional<TPageSetup> showPageSetup(const TPageSetup&) override { return std::nullopt; }
};

TNoPrinters noPrinters;
TPrinters* current = nullptr;

} // namespace

TPrinters& printers()
{
    return current ? *current : noPrinters;
}

TPrinters* setPrinters(TPrinters* installed)
{
    TPrinters* previous = current;
    current = installed;
    return previous;
}

bool canPrintWith(const TPageSetup& setup, const std::vector<std::string>& installed)
{
    if (setup.ToPdf)
        return !setup.PdfFileName.empty();
    if (setup.PrinterName.empty())
        return !installed.empty();
    return std::find(installed.begin(), installed.end(), setup.PrinterName) != installed.end();
}
