// TDummy_Virtual_Form, the busy box shown while the compiler runs: a borderless silver window of
// 211 x 96 pixels centred on the desktop, "Initiating Virtual Machine" above "Please Wait" in
// bold maroon.
#pragma once

#include <QWidget>

class QLabel;

class TDummy_Virtual_Form : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 211;
    static constexpr int kHeight = 96;

    explicit TDummy_Virtual_Form(QWidget* parent = nullptr);

    // Enables, centres and shows the box, then lets pending events run so it is painted before
    // the caller blocks in a wait.
    void showBusy();
    // Hides and disables the box and lets pending events run.
    void hideBusy();

    QLabel* Label1 = nullptr; // "Initiating Virtual Machine"
    QLabel* Label2 = nullptr; // "Please Wait"

private:
    void centreOnDesktop();
};
