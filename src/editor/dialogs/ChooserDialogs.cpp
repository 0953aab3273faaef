#include "editor/dialogs/ChooserDialogs.h"

namespace {

class TCancellingChoosers : public TChooserDialogs
{
public:
    std::optional<TColorValue> chooseColor(TColorValue) override { return std::nullopt; }
    std::optional<TFontChoice> chooseFont(const TFontChoice&) override { return std::nullopt; }
};

TCancellingChoosers fallback;
TChooserDialogs* installed = nullptr;

} // namespace

TChooserDialogs& chooserDialogs()
{
    return installed ? *installed : fallback;
}

TChooserDialogs* setChooserDialogs(TChooserDialogs* dialogs)
{
    TChooserDialogs* previous = installed;
    installed = dialogs;
    return previous;
}
