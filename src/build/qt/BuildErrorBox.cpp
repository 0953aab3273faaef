// The standard error box, shown through the installed message boxes.
#include "build/qt/BuildErrorBox.h"

#include "platform/MessageBoxes.h"

void showErrorBox(const std::string& message)
{
    messageBoxes().show(TMessageKind::Error, kErrorBoxCaption, message, TMessageButtons::Ok);
}
