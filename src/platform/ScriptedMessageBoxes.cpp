#include "platform/ScriptedMessageBoxes.h"

TScriptedMessageBoxes& TScriptedMessageBoxes::answer(TMessageResult result)
{
    m_answers.push_back(result);
    return *this;
}

TMessageResult TScriptedMessageBoxes::show(TMessageKind kind, const std::string& caption, const std::string& text, TMessageButtons buttons)
{
    const std::string description = std::string(kindName(kind)) + " box \"" + caption + "\": \"" + text + "\" (" + buttonsName(buttons) + ")";
    if (m_answers.empty())
        throw TUnexpectedDialog("no answer queued for " + description);
    const TMessageResult result = m_answers.front();
    m_answers.pop_front();
    m_shown.push_back(TShownMessageBox {kind, caption, text, buttons, result});
    if (!buttonsOffer(buttons, result))
        throw TUnexpectedDialog(std::string("the answer ") + resultName(result) + " is not offered by " + description);
    return result;
}
