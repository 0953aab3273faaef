#include "platform/MessageBoxes.h"

#include <cstdio>

namespace {

class TStandardErrorMessageBoxes : public TMessageBoxes
{
public:
    TMessageResult show(TMessageKind kind, const std::string& caption, const std::string& text, TMessageButtons buttons) override
    {
        const TMessageResult answer = closingAnswer(buttons);
        std::fprintf(stderr, "[%s] %s: %s (%s: %s)\n", kindName(kind), caption.c_str(), text.c_str(), buttonsName(buttons), resultName(answer));
        return answer;
    }
};

TStandardErrorMessageBoxes standardErrorBoxes;
TMessageBoxes* installed = nullptr;

} // namespace

bool buttonsOffer(TMessageButtons buttons, TMessageResult result)
{
    switch (buttons) {
    case TMessageButtons::Ok:
        return result == TMessageResult::Ok;
    case TMessageButtons::YesNo:
        return result == TMessageResult::Yes || result == TMessageResult::No;
    case TMessageButtons::YesNoCancel:
        return result == TMessageResult::Yes || result == TMessageResult::No || result == TMessageResult::Cancel;
    case TMessageButtons::OkCancel:
        return result == TMessageResult::Ok || result == TMessageResult::Cancel;
    }
    return false;
}

TMessageResult closingAnswer(TMessageButtons buttons)
{
    if (buttonsOffer(buttons, TMessageResult::Cancel))
        return TMessageResult::Cancel;
    if (buttonsOffer(buttons, TMessageResult::No))
        return TMessageResult::No;
    return TMessageResult::Ok;
}

const char* kindName(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Error:
        return "Error";
    case TMessageKind::Information:
        return "Information";
    case TMessageKind::Confirmation:
        return "Confirmation";
    case TMessageKind::Warning:
        return "Warning";
    }
    return "?";
}

const char* buttonsName(TMessageButtons buttons)
{
    switch (buttons) {
    case TMessageButtons::Ok:
        return "Ok";
    case TMessageButtons::YesNo:
        return "YesNo";
    case TMessageButtons::YesNoCancel:
        return "YesNoCancel";
    case TMessageButtons::OkCancel:
        return "OkCancel";
    }
    return "?";
}

const char* resultName(TMessageResult result)
{
    switch (result) {
    case TMessageResult::Ok:
        return "Ok";
    case TMessageResult::Cancel:
        return "Cancel";
    case TMessageResult::Yes:
        return "Yes";
    case TMessageResult::No:
        return "No";
    }
    return "?";
}

TMessageBoxes& messageBoxes()
{
    return installed ? *installed : standardErrorBoxes;
}

TMessageBoxes* setMessageBoxes(TMessageBoxes* boxes)
{
    TMessageBoxes* previous = installed;
    installed = boxes;
    return previous;
}
