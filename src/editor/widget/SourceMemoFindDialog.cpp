#include "editor/widget/SourceMemoFindDialog.h"

#include "editor/search/SearchFlags.h"
#include "platform/QtText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TSourceMemoFindDialog::TSourceMemoFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("FindDialog");
    setWindowTitle("Find");
    setModal(false);
    auto* label = new QLabel("Fi&nd what:", this);
    FindTextEdit = new QLineEdit(this);
    FindTextEdit->setObjectName("FindTextEdit");
    FindTextEdit->setMinimumWidth(220);
    label->setBuddy(FindTextEdit);
    WholeWordBox = new QCheckBox("Match &whole word only", this);
    MatchCaseBox = new QCheckBox("Match &case", this);
    RegExpBox = new QCheckBox("&Regular expression", this);
    auto* direction = new QGroupBox("Direction", this);
    UpButton = new QRadioButton("&Up", direction);
    DownButton = new QRadioButton("&Down", direction);
    DownButton->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(UpButton);
    directionLayout->addWidget(DownButton);
    FindNextButton = new QPushButton("&Find Next", this);
    FindNextButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(FindTextEdit, 0, 1, 1, 2);
    auto* options = new QVBoxLayout;
    options->addWidget(WholeWordBox);
    options->addWidget(MatchCaseBox);
    options->addWidget(RegExpBox);
    grid->addLayout(options, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 3, 2, 1);

    const auto enable = [this] { FindNextButton->setEnabled(!FindTextEdit->text().isEmpty()); };
    connect(FindTextEdit, &QLineEdit::textChanged, this, enable);
    enable();
    connect(FindNextButton, &QPushButton::clicked, this, [this] {
        if (OnFindNext && !FindTextEdit->text().isEmpty())
            OnFindNext(SearchText(), Flags());
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TSourceMemoFindDialog::Preset(const std::string& text, uint16_t flags)
{
    FindTextEdit->setText(cp1252ToQString(text));
    FindTextEdit->selectAll();
    MatchCaseBox->setChecked((flags & srMatchCase) != 0);
    WholeWordBox->setChecked((flags & srWholeWord) != 0);
    RegExpBox->setChecked((flags & srRegExp) != 0);
    UpButton->setChecked((flags & srBackward) != 0);
    DownButton->setChecked((flags & srBackward) == 0);
}

std::string TSourceMemoFindDialog::SearchText() const
{
    return qStringToCp1252(FindTextEdit->text());
}

uint16_t TSourceMemoFindDialog::Flags() const
{
    uint16_t flags = 0;
    if (MatchCaseBox->isChecked())
        flags |= srMatchCase;
    if (WholeWordBox->isChecked())
        flags |= srWholeWord;
    if (RegExpBox->isChecked())
        flags |= srRegExp;
    if (UpButton->isChecked())
        flags |= srBackward;
    return flags;
}
