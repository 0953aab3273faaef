// The frame of the properties dialog: the page set, the two editors that show the copy, OK and
// Cancel. The pages are built in the files named after them.
#include "editor/dialogs/OptionsDialog.h"

#include "editor/dialogs/HotKeyField.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoMessages.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/MessageBoxes.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const kCaption = "Editor Options";

} // namespace

bool TOptionsDialog::Open(TSourceMemoParser& parser, uint8_t pages, QWidget* parent)
{
    if ((pages & kAllPages) == 0)
        return false;
    TSettingsWorkingCopy copy(parser);
    bool accepted = false;
    {
        // The dialog and its editors go before the copy puts the parser back.
        TOptionsDialog dialog(copy, pages, parent);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (accepted)
        copy.keep();
    return accepted;
}

TOptionsDialog::TOptionsDialog(TSettingsWorkingCopy& copy, uint8_t pages, QWidget* parent)
    : QDialog(parent), m_copy(copy)
{
    setObjectName("OptionsDialog");
    setWindowTitle(kCaption);
    m_updating = true;
    FEditor = new TSourceMemo(this);
    FEditor->setObjectName("FEditor");
    SourceMemo1 = new TSourceMemo(this);
    SourceMemo1->setObjectName("SourceMemo1");
    for (TSourceMemo* editor : {FEditor, SourceMemo1})
        editor->SetParser(1, &copy.parser());
    // The preview shows the language's example text and cannot be edited.
    FEditor->SetReadOnly(true);
    FEditor->SetWantTab(false);
    Perform(*FEditor, WM_SETTEXT, 0, reinterpret_cast<TLParam>(settings().exampleText.c_str()));
    FEditor->viewport()->installEventFilter(this);

    Pages = new QTabWidget(this);
    Pages->setObjectName("Pages");
    m_optionsPage = createOptionsPage();
    m_highlightingPage = createHighlightingPage();
    m_keysPage = createKeysPage();
    m_autoCorrectPage = createAutoCorrectPage();
    m_templatesPage = createTemplatesPage();
    const struct
    {
        QWidget* page;
        const char* caption;
        uint8_t bit;
    } order[] = {{m_optionsPage, "Options", ppOPTIONS},
                 {m_highlightingPage, "Highlighting", ppHIGHLIGHTING},
                 {m_keysPage, "Key assignments", ppKEYS},
                 {m_autoCorrectPage, "Auto correct", ppAUTOCORRECT},
                 {m_templatesPage, "Code templates", ppTEMPLATES}};
    for (const auto& entry : order) {
        const int index = Pages->addTab(entry.page, entry.caption);
        Pages->setTabVisible(index, (pages & entry.bit) != 0);
    }
    // The first shown page in this order is the active one.
    for (QWidget* page : {m_highlightingPage, m_optionsPage, m_keysPage, m_autoCorrectPage, m_templatesPage}) {
        if (Pages->isTabVisible(Pages->indexOf(page))) {
            Pages->setCurrentWidget(page);
            break;
        }
    }
    if (Pages->currentWidget() == m_highlightingPage)
        m_elements->setFocus();

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &TOptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TOptionsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages, 1);
    layout->addWidget(buttons);

    fillOptionsPage();
    fillHighlightingPage();
    fillKeysPage();
    fillAutoCorrectPage();
    fillTemplatesPage();
    m_updating = false;
}

// The editors let go of the parser before the working copy puts it back, so nothing they do
// on the way out reaches the settings.
TOptionsDialog::~TOptionsDialog()
{
    for (TSourceMemo* editor : {FEditor, SourceMemo1})
        editor->SetParser(1, nullptr);
}

void TOptionsDialog::accept()
{
    if (m_keys && m_keys->anyChanged()) {
        try {
            settings().keyMap = m_keys->build();
        } catch (const ESourceMemo& conflict) {
            showError(conflict.Message());
            return;
        }
    }
    QDialog::accept();
}

// Only the dialog's own editors take the copy. The parser's list is not asked: an editor of
// the program that paints behind the dialog is served by the parser again, which puts it back
// on the list, and it must keep showing the settings as they were.
void TOptionsDialog::previewChanged()
{
    const TSelectionPair caret = FEditor->Editor().Selection();
    for (TSourceMemo* editor : {FEditor, SourceMemo1})
        editor->ApplySettings();
    FEditor->Editor().SetSelection(caret.Anchor, caret.Caret);
}

void TOptionsDialog::showError(const std::string& message)
{
    messageBoxes().show(TMessageKind::Error, kCaption, message, TMessageButtons::Ok);
}

bool TOptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && filterFieldKey(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == FEditor->viewport() && event->type() == QEvent::MouseButtonRelease)
        PreviewClick(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (watched == m_hotKey && event->type() == QEvent::FocusOut)
        HotKeyBoxExit();
    return QDialog::eventFilter(watched, event);
}
