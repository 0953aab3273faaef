// The dialog that shows why a regular expression does not compile: the message, the
// expression and a caret under the fault, in a fixed-pitch font so the caret stands under
// the character it points at.
#pragma once

#include <QDialog>

#include <string>

class QLabel;

class TRegExpErrorDialog : public QDialog
{
    Q_OBJECT
public:
    // text: lines broken by CR (document bytes).
    TRegExpErrorDialog(const std::string& text, QWidget* parent);

    QLabel* MessageLabel = nullptr;
};
