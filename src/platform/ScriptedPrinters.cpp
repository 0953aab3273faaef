#include "platform/ScriptedPrinters.h"

TScriptedPrinters& TScriptedPrinters::answer(std::optional<TPageSetup> choice)
{
    m_answers.push_back(std::move(choice));
    return *this;
}

std::optional<TPageSetup> TScriptedPrinters::showPageSetup(const TPageSetup& current)
{
    m_shown.push_back(current);
    if (m_answers.empty())
        throw TUnexpectedDialog("a page set-up dialog was shown with no answer queued");
    std::optional<TPageSetup> choice = std::move(m_answers.front());
    m_answers.pop_front();
    return choice;
}
