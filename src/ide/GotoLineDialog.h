// TGotoLineDialog, "Go to line number": a modal box for one line number within a range; OK
// with a value outside it (or not a number) warns and keeps the dialog open.
#pragma once

#include "ide/search/GotoLineRange.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class TGotoLineDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TGotoLineDialog(QWidget* parent);

    // Shows the dialog for the range with value in the box; answers the value taken, or
    // none when the dialog was cancelled.
    std::optional<int64_t> Execute(const TGotoLineRange& range, int64_t value);

    const TGotoLineRange& Range() const { return m_range; }
    int64_t Value() const { return m_value; }

    QLineEdit* LineNumberBox = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // OK: takes the value or warns.
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TGotoLineRange m_range;
    int64_t m_value = 1;
};
