// The busy box's layout and its show/hide around a compile.
#include "build/qt/DummyVirtualForm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QVBoxLayout>

TDummy_Virtual_Form::TDummy_Virtual_Form(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("Dummy_Virtual_Form");
    setWindowTitle("Initiate Virtual Machine");
    setFixedSize(kWidth, kHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(palette);
    setAutoFillBackground(true);

    Label1 = new QLabel("Initiating Virtual Machine", this);
    Label2 = new QLabel("Please Wait", this);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    QPalette maroon = Label2->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00));
    Label2->setPalette(maroon);
    for (QLabel* label : {Label1, Label2})
        label->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addStretch();
    setEnabled(false);
}

void TDummy_Virtual_Form::centreOnDesktop()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(kWidth / 2, kHeight / 2));
}

void TDummy_Virtual_Form::showBusy()
{
    setEnabled(true);
    centreOnDesktop();
    show();
    raise();
    QApplication::processEvents();
}

void TDummy_Virtual_Form::hideBusy()
{
    hide();
    setEnabled(false);
    QApplication::processEvents();
}
