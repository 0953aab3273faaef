// Open, save and choose-folder dialogs shown with QFileDialog, over the active window.
#pragma once

#include "platform/FileDialogs.h"

class TQtFileDialogs : public TFileDialogs
{
public:
    std::optional<std::string> run(const TFileDialogRequest& request) override;
};
