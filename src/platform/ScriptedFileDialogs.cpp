#include "platform/ScriptedFileDialogs.h"

TScriptedFileDialogs& TScriptedFileDialogs::answer(std::optional<std::string> choice)
{
    m_answers.push_back(std::move(choice));
    return *this;
}

std::optional<std::string> TScriptedFileDialogs::run(const TFileDialogRequest& request)
{
    if (m_answers.empty())
        throw TUnexpectedDialog("no answer queued for the file dialog \"" + request.title + "\"");
    m_requests.push_back(request);
    std::optional<std::string> choice = std::move(m_answers.front());
    m_answers.pop_front();
    return choice;
}
