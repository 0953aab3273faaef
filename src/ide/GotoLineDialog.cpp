#include "ide/GotoLineDialog.h"

#include "ide/ZbxEditProgram.h"
#include "platform/MessageBoxes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TGotoLineDialog::TGotoLineDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("GotoLineDialog");
    setWindowTitle("Go to line number");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    LineNumberBox = new QLineEdit(this);
    LineNumberBox->setObjectName("LineNumberBox");
    auto* label = new QLabel("&Enter new line number", this);
    label->setBuddy(LineNumberBox);
    layout->addWidget(label);
    layout->addWidget(LineNumberBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    OKButton = new QPushButton("&OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton("&Cancel", this);
    CancelButton->setObjectName("CancelButton");
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    connect(OKButton, &QPushButton::clicked, this, &TGotoLineDialog::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<int64_t> TGotoLineDialog::Execute(const TGotoLineRange& range, int64_t value)
{
    m_range = range;
    m_value = value;
    LineNumberBox->setText(QString::number(value));
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return m_value;
}

void TGotoLineDialog::OKButtonClick()
{
    if (const std::optional<int64_t> value = m_range.Accept(LineNumberBox->text().toStdString())) {
        m_value = *value;
        accept();
        return;
    }
    messageBoxes().show(TMessageKind::Warning, applicationTitle, m_range.Warning(), TMessageButtons::Ok);
    LineNumberBox->setFocus();
    LineNumberBox->selectAll();
}

void TGotoLineDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LineNumberBox->setFocus();
    LineNumberBox->selectAll();
}
