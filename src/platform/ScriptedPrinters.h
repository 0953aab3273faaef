// Printers for tests: the installed printers are a list the test sets, the page set-up dialog
// answers from a queue and records the set-up each dialog started from. A dialog with no answer
// queued throws TUnexpectedDialog.
#pragma once

#include "platform/Printers.h"
#include "platform/ScriptedMessageBoxes.h"

#include <deque>

class TScriptedPrinters : public TPrinters
{
public:
    std::vector<std::string> Installed;
    TPageSetup Default;

    // Queues the next dialog's answer: a set-up for OK, none for Cancel.
    TScriptedPrinters& answer(std::optional<TPageSetup> choice);

    std::vector<std::string> installedPrinters() override { return Installed; }
    TPageSetup defaultPageSetup() override { return Default; }
    std::optional<TPageSetup> showPageSetup(const TPageSetup& current) override;

    // The set-up each dialog shown started from.
    const std::vector<TPageSetup>& dialogsShown() const { return m_shown; }
    size_t pendingAnswers() const { return m_answers.size(); }

private:
    std::deque<std::optional<TPageSetup>> m_answers;
    std::vector<TPageSetup> m_shown;
};
