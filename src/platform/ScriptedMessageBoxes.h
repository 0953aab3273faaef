// Message boxes for tests: answers are queued beforehand and every box shown is recorded. A box
// that appears with no answer queued, or an answer the box does not offer, throws
// TUnexpectedDialog, which no handler of ours catches, so the test fails at the spot.
#pragma once

#include "platform/MessageBoxes.h"

#include <deque>
#include <stdexcept>
#include <vector>

// Deliberately not derived from Exception: code that reports our own errors in a box must not
// swallow a broken test script.
class TUnexpectedDialog : public std::logic_error
{
public:
    using std::logic_error::logic_error;
};

struct TShownMessageBox {
    TMessageKind kind;
    std::string caption;
    std::string text;
    TMessageButtons buttons;
    TMessageResult answer;
};

class TScriptedMessageBoxes : public TMessageBoxes
{
public:
    // Queues the answer for the next box.
    TScriptedMessageBoxes& answer(TMessageResult result);
    TMessageResult show(TMessageKind kind, const std::string& caption, const std::string& text, TMessageButtons buttons) override;

    const std::vector<TShownMessageBox>& shown() const { return m_shown; }
    size_t pendingAnswers() const { return m_answers.size(); }

private:
    std::deque<TMessageResult> m_answers;
    std::vector<TShownMessageBox> m_shown;
};
