// File dialogs for tests: answers (a path, or none for Cancel) are queued beforehand and every
// request is recorded; a dialog with no answer queued throws TUnexpectedDialog.
#pragma once

#include "platform/FileDialogs.h"
#include "platform/ScriptedMessageBoxes.h"

#include <deque>

class TScriptedFileDialogs : public TFileDialogs
{
public:
    TScriptedFileDialogs& answer(std::optional<std::string> choice);
    std::optional<std::string> run(const TFileDialogRequest& request) override;

    const std::vector<TFileDialogRequest>& requests() const { return m_requests; }
    size_t pendingAnswers() const { return m_answers.size(); }

private:
    std::deque<std::optional<std::string>> m_answers;
    std::vector<TFileDialogRequest> m_requests;
};
