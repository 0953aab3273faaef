// TAboutForm: the modal "KALTOR+" box naming the product and its version.
#pragma once

#include <QDialog>

class QPushButton;

inline constexpr const char* kProductName = "KALTOR+ Compiler";
inline constexpr const char* kProductVersion = "Version 2.1.3";

class TAboutForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    QPushButton* OKButton = nullptr;
};
