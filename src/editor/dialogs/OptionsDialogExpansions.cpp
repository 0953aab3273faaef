// The Auto correct and Code templates pages. Both lists are the copy's own (sorted by name),
// so after each change the copy holds exactly what the list shows and the dialog's editors
// take it at once.
#include "editor/dialogs/OptionsDialog.h"

#include "editor/dialogs/ExpansionLists.h"
#include "editor/dialogs/HotKeyField.h"
#include "editor/keys/KeyNames.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString listText(const std::string& text)
{
    return QString::fromStdString(text);
}

void fillList(QListWidget* list, const std::vector<CodeTemplate>& entries, std::string (*text)(const CodeTemplate&))
{
    list->clear();
    for (const CodeTemplate& entry : entries)
        list->addItem(listText(text(entry)));
}

} // namespace

void TOptionsDialog::selectQuietly(QListWidget* list, int row)
{
    const bool wasUpdating = m_updating;
    m_updating = true;
    list->setCurrentRow(row);
    m_updating = wasUpdating;
}

// ---- Auto correct ---------------------------------------------------------------------------

QWidget* TOptionsDialog::createAutoCorrectPage()
{
    auto* page = new QWidget;
    page->setObjectName("AutoCorrectPage");
    m_autoCorrectList = new QListWidget(page);
    m_autoCorrectList->setObjectName("AutoCorrectList");
    m_replace = new QLineEdit(page);
    m_replace->setObjectName("ReplaceBox");
    m_with = new QLineEdit(page);
    m_with->setObjectName("WithBox");
    m_actKeys = new QLineEdit(page);
    m_actKeys->setObjectName("ActKeysBox");
    m_autoCorrectAdd = new QPushButton(QStringLiteral("Add"), page);
    m_autoCorrectAdd->setObjectName("AutoCorrectAddButton");
    m_autoCorrectSecond = new QPushButton(QStringLiteral("Delete"), page);
    m_autoCorrectSecond->setObjectName("AutoCorrectSecondButton");
    connect(m_autoCorrectList, &QListWidget::currentRowChanged, this, &TOptionsDialog::AutoCorrectListClick);
    connect(m_replace, &QLineEdit::textEdited, this, &TOptionsDialog::updateAutoCorrectButtons);
    connect(m_with, &QLineEdit::textEdited, this, &TOptionsDialog::updateAutoCorrectButtons);
    connect(m_actKeys, &QLineEdit::editingFinished, this, &TOptionsDialog::ActKeysBoxExit);
    connect(m_autoCorrectAdd, &QPushButton::clicked, this, &TOptionsDialog::AutoCorrectAddClick);
    connect(m_autoCorrectSecond, &QPushButton::clicked, this, &TOptionsDialog::AutoCorrectSecondClick);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Replace")), 0, 0);
    fields->addWidget(m_replace, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("With")), 1, 0);
    fields->addWidget(m_with, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Act key(s)")), 2, 0);
    fields->addWidget(m_actKeys, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_autoCorrectAdd);
    buttons->addWidget(m_autoCorrectSecond);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(m_autoCorrectList, 1);
    return page;
}

void TOptionsDialog::fillAutoCorrectPage()
{
    sortExpansions(settings().autoReplace.entries);
    fillList(m_autoCorrectList, settings().autoReplace.entries, autoCorrectItemText);
    m_actKeys->setText(QString::fromStdString(settings().triggers));
    updateAutoCorrectButtons();
}

// Choosing an entry in the list shows it in the fields; the list following what is typed
// leaves the fields alone.
void TOptionsDialog::AutoCorrectListClick()
{
    if (m_updating)
        return;
    const int row = m_autoCorrectList->currentRow();
    const auto& entries = settings().autoReplace.entries;
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    m_replace->setText(QString::fromStdString(entries[static_cast<size_t>(row)].name));
    m_with->setText(QString::fromStdString(entries[static_cast<size_t>(row)].text));
    updateAutoCorrectButtons();
}

void TOptionsDialog::updateAutoCorrectButtons()
{
    const TAutoCorrectButtons buttons = autoCorrectButtons(settings().autoReplace.entries,
                                                           m_replace->text().toStdString(),
                                                           m_with->text().toStdString());
    m_autoCorrectAdd->setEnabled(buttons.addEnabled);
    m_autoCorrectSecond->setEnabled(buttons.secondEnabled);
    m_autoCorrectSecond->setText(buttons.second == TSecondAction::Replace ? QStringLiteral("Replace")
                                                                          : QStringLiteral("Delete"));
    if (buttons.match >= 0)
        selectQuietly(m_autoCorrectList, buttons.match);
}

void TOptionsDialog::AutoCorrectAddClick()
{
    putExpansion(settings().autoReplace.entries, {m_replace->text().toStdString(), {}, m_with->text().toStdString()});
    fillAutoCorrectPage();
    previewChanged();
}

void TOptionsDialog::AutoCorrectSecondClick()
{
    auto& entries = settings().autoReplace.entries;
    const TAutoCorrectButtons buttons =
        autoCorrectButtons(entries, m_replace->text().toStdString(), m_with->text().toStdString());
    if (buttons.match < 0)
        return;
    if (buttons.second == TSecondAction::Replace)
        entries[static_cast<size_t>(buttons.match)].text = m_with->text().toStdString();
    else
        removeExpansion(entries, m_replace->text().toStdString());
    fillAutoCorrectPage();
    previewChanged();
}

void TOptionsDialog::ActKeysBoxExit()
{
    const std::string triggers = m_actKeys->text().toStdString();
    if (triggers == settings().triggers)
        return;
    settings().triggers = triggers;
    previewChanged();
}

// ---- Code templates -------------------------------------------------------------------------

QWidget* TOptionsDialog::createTemplatesPage()
{
    auto* page = new QWidget;
    page->setObjectName("TemplatesPage");
    m_templateList = new QListWidget(page);
    m_templateList->setObjectName("TemplateList");
    m_templateName = new QLineEdit(page);
    m_templateName->setObjectName("TemplateNameBox");
    m_templateDescription = new QLineEdit(page);
    m_templateDescription->setObjectName("TemplateDescriptionBox");
    m_addTemplate = new QPushButton(QStringLiteral("Add"), page);
    m_addTemplate->setObjectName("AddTemplateButton");
    m_replaceTemplate = new QPushButton(QStringLiteral("Replace"), page);
    m_replaceTemplate->setObjectName("ReplaceTemplateButton");
    m_hotKey = new TSM_HotKey(page);
    m_hotKey->setObjectName("HotKeyBox");
    m_hotKey->setAltOnly(true);
    m_hotKey->installEventFilter(this);
    connect(m_templateList, &QListWidget::currentRowChanged, this, &TOptionsDialog::TemplateListClick);
    connect(m_templateName, &QLineEdit::textEdited, this, &TOptionsDialog::updateTemplateButtons);
    connect(m_addTemplate, &QPushButton::clicked, this, &TOptionsDialog::storeTemplate);
    connect(m_replaceTemplate, &QPushButton::clicked, this, &TOptionsDialog::storeTemplate);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Name")), 0, 0);
    fields->addWidget(m_templateName, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Description")), 1, 0);
    fields->addWidget(m_templateDescription, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Hotkey")), 2, 0);
    fields->addWidget(m_hotKey, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_addTemplate);
    buttons->addWidget(m_replaceTemplate);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_templateList, 1);
    layout->addLayout(fields);
    layout->addWidget(new QLabel(QStringLiteral("Code template")));
    SourceMemo1->setMinimumHeight(100);
    layout->addWidget(SourceMemo1, 1);
    layout->addLayout(buttons);
    return page;
}

void TOptionsDialog::fillTemplatesPage()
{
    sortExpansions(settings().templates.entries);
    fillList(m_templateList, settings().templates.entries, templateItemText);
    const TShortCut hotKey = textToShortCut(settings().templates.hotKey);
    m_hotKey->setValue(hotKey ? hotKey : kDefaultTemplateHotKey);
    updateTemplateButtons();
}

void TOptionsDialog::TemplateListClick()
{
    if (m_updating)
        return;
    const int row = m_templateList->currentRow();
    const auto& entries = settings().templates.entries;
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return;
    const CodeTemplate& entry = entries[static_cast<size_t>(row)];
    m_templateName->setText(QString::fromStdString(entry.name));
    m_templateDescription->setText(QString::fromStdString(entry.description));
    Perform(*SourceMemo1, WM_SETTEXT, 0, reinterpret_cast<TLParam>(entry.text.c_str()));
    updateTemplateButtons();
}

void TOptionsDialog::updateTemplateButtons()
{
    const TTemplateButtons buttons = templateButtons(settings().templates.entries, m_templateName->text().toStdString());
    m_addTemplate->setEnabled(buttons.addEnabled);
    m_replaceTemplate->setEnabled(buttons.replaceEnabled);
    if (buttons.match >= 0)
        selectQuietly(m_templateList, buttons.match);
}

// Add and Replace both store the fields and the template text under the name.
void TOptionsDialog::storeTemplate()
{
    putExpansion(settings().templates.entries, {m_templateName->text().toStdString(),
                                                m_templateDescription->text().toStdString(),
                                                SourceMemo1->Store().GetText()});
    fillTemplatesPage();
    previewChanged();
}

void TOptionsDialog::HotKeyBoxExit()
{
    const std::string hotKey = shortCutToText(m_hotKey->value());
    if (hotKey.empty() || hotKey == settings().templates.hotKey)
        return;
    settings().templates.hotKey = hotKey;
    previewChanged();
}
