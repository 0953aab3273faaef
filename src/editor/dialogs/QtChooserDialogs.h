// The chooser dialogs of the running program: Qt's colour and font dialogs.
#pragma once

#include "editor/dialogs/ChooserDialogs.h"

class TQtChooserDialogs : public TChooserDialogs
{
public:
    TQtChooserDialogs();
    std::optional<TColorValue> chooseColor(TColorValue initial) override;
    std::optional<TFontChoice> chooseFont(const TFontChoice& initial) override;
};
