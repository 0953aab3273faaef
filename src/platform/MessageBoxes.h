// The message boxes the programs show: four kinds with fixed button sets, answered by the button
// pressed. Code asks through messageBoxes(), so the Qt boxes can be replaced by scripted answers
// in tests. Captions and texts are UTF-8 (text taken from a document is converted with
// cp1252ToUtf8 first); a carriage return, alone or before a line feed, breaks the line.
#pragma once

#include <string>

enum class TMessageKind { Error, Information, Confirmation, Warning };
enum class TMessageButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class TMessageResult { Ok, Cancel, Yes, No };

class TMessageBoxes
{
public:
    virtual ~TMessageBoxes() = default;
    // Shows the box and returns the button pressed; closing the box without a button answers
    // Cancel when the set has one, else No, else Ok.
    virtual TMessageResult show(TMessageKind kind, const std::string& caption, const std::string& text, TMessageButtons buttons) = 0;
};

// Whether result is one of the buttons of the set.
bool buttonsOffer(TMessageButtons buttons, TMessageResult result);
// The answer when a box is closed without pressing a button.
TMessageResult closingAnswer(TMessageButtons buttons);
// Texts for logs and test failures: "Error", "YesNoCancel", "Cancel" and so on.
const char* kindName(TMessageKind kind);
const char* buttonsName(TMessageButtons buttons);
const char* resultName(TMessageResult result);

// The implementation in use. Until one is installed, boxes are written to standard error and
// answered as if closed, so nothing is ever confirmed silently.
TMessageBoxes& messageBoxes();
// Installs boxes (not owned; nullptr returns to the standard-error fallback) and returns the
// one installed before.
TMessageBoxes* setMessageBoxes(TMessageBoxes* boxes);

// Installs boxes for the lifetime of the object and then puts the previous ones back.
class TScopedMessageBoxes
{
public:
    explicit TScopedMessageBoxes(TMessageBoxes& boxes) : m_previous(setMessageBoxes(&boxes)) {}
    ~TScopedMessageBoxes() { setMessageBoxes(m_previous); }
    TScopedMessageBoxes(const TScopedMessageBoxes&) = delete;
    TScopedMessageBoxes& operator=(const TScopedMessageBoxes&) = delete;

private:
    TMessageBoxes* m_previous;
};
