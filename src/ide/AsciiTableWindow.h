// TASCII: the "ASCII Table" window, a fixed-size window on top of the others listing the codes
// 0 to 255 with their decimal and hexadecimal values and control names. Cancel hides and
// disables it; View > ASCII Table enables and shows it again.
#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

class TASCII : public QWidget
{
    Q_OBJECT
public:
    explicit TASCII(QWidget* parent = nullptr);

    QListWidget* List = nullptr;
    QPushButton* CancelButton = nullptr;

    void CancelButtonClick();
};
