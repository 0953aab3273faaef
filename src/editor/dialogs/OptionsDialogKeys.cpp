// The Key assignments page: the commands of the key map and the key pairs of the selected
// one, changed through the key assignment wizard. The key map itself is rebuilt on OK.
#include "editor/dialogs/OptionsDialog.h"

#include "editor/dialogs/KeyAssignDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kFirstKeyInfo =
    "Press the first key combination until the correct key sequence appears then press the NEXT button";
const char* const kSecondKeyInfo = "If the key sequence requires a 2nd key press then enter the key now. Press "
                                   "the FINISH button to accept changes";

} // namespace

QWidget* TOptionsDialog::createKeysPage()
{
    auto* page = new QWidget;
    page->setObjectName("KeysPage");
    m_commands = new QListWidget(page);
    m_commands->setObjectName("CommandList");
    m_keyPairs = new QListWidget(page);
    m_keyPairs->setObjectName("KeyList");
    m_addKey = new QPushButton(QStringLiteral("Add..."), page);
    m_addKey->setObjectName("AddKeyButton");
    m_editKey = new QPushButton(QStringLiteral("Edit..."), page);
    m_editKey->setObjectName("EditKeyButton");
    m_deleteKey = new QPushButton(QStringLiteral("Delete"), page);
    m_deleteKey->setObjectName("DeleteKeyButton");
    connect(m_commands, &QListWidget::currentRowChanged, this, &TOptionsDialog::CommandListClick);
    connect(m_keyPairs, &QListWidget::currentRowChanged, this, &TOptionsDialog::updateKeyButtons);
    connect(m_addKey, &QPushButton::clicked, this, &TOptionsDialog::AddKeyClick);
    connect(m_editKey, &QPushButton::clicked, this, &TOptionsDialog::EditKeyClick);
    connect(m_deleteKey, &QPushButton::clicked, this, &TOptionsDialog::DeleteKeyClick);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_addKey, m_editKey, m_deleteKey})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Commands")), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Uses keys")), 0, 1);
    layout->addWidget(m_commands, 1, 0);
    layout->addWidget(m_keyPairs, 1, 1);
    layout->addLayout(buttons, 1, 2);
    return page;
}

void TOptionsDialog::fillKeysPage()
{
    m_keys = std::make_unique<TKeyAssignments>(settings().keyMap);
    m_commands->clear();
    for (const KeyCommandName& command : m_keys->sortedCommands()) {
        auto* item = new QListWidgetItem(QString::fromStdString(command.name), m_commands);
        item->setData(Qt::UserRole, command.command);
    }
    m_commands->setCurrentRow(0);
    CommandListClick();
}

int TOptionsDialog::currentCommand() const
{
    const QListWidgetItem* item = m_commands->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void TOptionsDialog::CommandListClick()
{
    m_keyPairs->clear();
    const int command = currentCommand();
    if (command >= 0) {
        for (const TKeyPair& pair : m_keys->pairsOf(command))
            m_keyPairs->addItem(QString::fromStdString(TKeyAssignments::pairText(pair)));
    }
    updateKeyButtons();
}

void TOptionsDialog::updateKeyButtons()
{
    const bool command = currentCommand() >= 0;
    const bool pair = command && m_keyPairs->currentRow() >= 0;
    m_addKey->setEnabled(command);
    m_editKey->setEnabled(pair);
    m_deleteKey->setEnabled(pair);
}

void TOptionsDialog::AddKeyClick()
{
    const int command = currentCommand();
    if (command < 0)
        return;
    TShortCut first = 0;
    TShortCut second = 0;
    if (!TKeyAssignDialog::Run(m_keys->descriptionOf(command), kFirstKeyInfo, kSecondKeyInfo, TKeyAssignMode::Add,
                               first, second, this) ||
        first == 0)
        return;
    m_keys->addPair(command, {first, second});
    CommandListClick();
    m_keyPairs->setCurrentRow(m_keyPairs->count() - 1);
}

void TOptionsDialog::EditKeyClick()
{
    const int command = currentCommand();
    const int row = m_keyPairs->currentRow();
    if (command < 0 || row < 0)
        return;
    TKeyPair pair = m_keys->pairsOf(command)[static_cast<size_t>(row)];
    if (!TKeyAssignDialog::Run(m_keys->descriptionOf(command), kFirstKeyInfo, kSecondKeyInfo, TKeyAssignMode::Edit,
                               pair.first, pair.second, this) ||
        pair.first == 0)
        return;
    m_keys->replacePair(command, static_cast<size_t>(row), pair);
    CommandListClick();
    m_keyPairs->setCurrentRow(row);
}

void TOptionsDialog::DeleteKeyClick()
{
    const int command = currentCommand();
    const int row = m_keyPairs->currentRow();
    if (command < 0 || row < 0)
        return;
    m_keys->deletePair(command, static_cast<size_t>(row));
    CommandListClick();
}
