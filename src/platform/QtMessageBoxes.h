// Message boxes shown with QMessageBox, over the active window.
#pragma once

#include "platform/MessageBoxes.h"

class QString;

class TQtMessageBoxes : public TMessageBoxes
{
public:
    TMessageResult show(TMessageKind kind, const std::string& caption, const std::string& text, TMessageButtons buttons) override;
};

// CR LF and a lone CR become the line feed Qt breaks lines at.
QString messageText(const std::string& text);
