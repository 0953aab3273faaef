#include "ide/EdReplDlg.h"

#include "editor/edit/SourceEditor.h"
#include "editor/search/REParser.h"
#include "editor/search/SearchFlags.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdPersistent.h"
#include "ide/ZbxEditProgram.h"
#include "ide/search/SearchSteps.h"
#include "platform/CodePage1252.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/SettingsProblems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Painting stays off for the scope (the view is repainted once afterwards); nests with a
// caller that switched it off already.
class TRedrawOff
{
public:
    explicit TRedrawOff(TSourceMemo& memo, bool active) : m_memo(memo), m_active(active && memo.RedrawOn())
    {
        if (m_active)
            m_memo.SetRedraw(false);
    }
    ~TRedrawOff()
    {
        if (m_active)
            m_memo.SetRedraw(true);
    }
    TRedrawOff(const TRedrawOff&) = delete;
    TRedrawOff& operator=(const TRedrawOff&) = delete;

private:
    TSourceMemo& m_memo;
    bool m_active;
};

bool compiles(const std::string& text, uint16_t options)
{
    TREParser probe;
    return !(options & srRegExp) || probe.SetExpression(text);
}

} // namespace

TEdReplDlg::TEdReplDlg(TEdPersistent& settings, QWidget* parent)
    : TEdSearchDialog(settings, "Find and replace text...", parent)
{
    setObjectName("EdReplDlg");
    ReplHistoryBox = new QComboBox(this);
    ReplHistoryBox->setObjectName("ReplHistoryBox");
    ReplHistoryBox->setEditable(true);
    ReplHistoryBox->setInsertPolicy(QComboBox::NoInsert);
    auto* label = new QLabel("Replace with", this);
    label->setBuddy(ReplHistoryBox);
    TextRows()->addWidget(label, 1, 0);
    TextRows()->addWidget(ReplHistoryBox, 1, 1);
    PromptOnReplBox = new QCheckBox("&Prompt on Replace", this);
    PromptOnReplBox->setObjectName("PromptOnReplBox");
    PromptOnReplBox->setChecked(true);
    TextRows()->addWidget(PromptOnReplBox, 2, 1);
    ReplaceAllButton = new QPushButton("Replace All", this);
    ReplaceAllButton->setObjectName("ReplaceAllButton");
    ButtonColumn()->addWidget(ReplaceAllButton, 2, 0);
    // The keyboard goes from the text to find to its replacement.
    setTabOrder(FindHistoryBox, ReplHistoryBox);
    setTabOrder(ReplHistoryBox, PromptOnReplBox);
    connect(OKButton, &QPushButton::clicked, this, &TEdReplDlg::OKButtonClick);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &TEdReplDlg::ReplaceAllButtonClick);
}

std::string TEdReplDlg::ReplaceText() const
{
    return qStringToCp1252(ReplHistoryBox->currentText());
}

void TEdReplDlg::LoadHistories()
{
    TEdSearchDialog::LoadHistories();
    m_replaceHistory.Load(Settings(), "ReplaceHistory");
    const QString shown = ReplHistoryBox->currentText();
    FillBox(*ReplHistoryBox, m_replaceHistory, shown);
}

void TEdReplDlg::SaveHistories()
{
    TEdSearchDialog::SaveHistories();
    trySettingsAccess(Settings().FileName(), [&] { m_replaceHistory.Save(Settings(), "ReplaceHistory"); });
}

void TEdReplDlg::UpdateButtons()
{
    TEdSearchDialog::UpdateButtons();
    if (ReplaceAllButton)
        ReplaceAllButton->setEnabled(!FindHistoryBox->currentText().isEmpty());
}

void TEdReplDlg::useBothTexts(const std::string& find, const std::string& replacement)
{
    UseFindText(find);
    m_replaceHistory.Use(replacement);
    FillBox(*ReplHistoryBox, m_replaceHistory, cp1252ToQString(replacement));
}

bool TEdReplDlg::confirm(const std::string& find, const std::string& replacement) const
{
    return messageBoxes().show(TMessageKind::Confirmation, applicationTitle,
                               cp1252ToUtf8("Replace this instance of \"" + find + "\" with \"" + replacement + "\" ?"),
                               TMessageButtons::YesNoCancel) == TMessageResult::Yes;
}

void TEdReplDlg::OKButtonClick()
{
    const std::string find = FindText();
    if (find.empty())
        return;
    const std::string replacement = ReplaceText();
    const uint16_t options = Options() | srDirect;
    Guarded([&] {
        TSourceEditor& editor = Memo().Editor();
        if (!(options & srRegExp))
            stepPastSelectedMatch(editor, find, TLetterCase::Exact);
        useBothTexts(find, replacement);
        std::string newText;
        int64_t position = 0;
        if (!Memo().FindReplace(find, replacement, options, newText, position)) {
            if (compiles(find, options))
                ReportNotFound(find);
            return;
        }
        Memo().viewport()->update();
        if (!PromptOnReplBox->isChecked() || confirm(find, replacement)) {
            editor.ReplaceSelection(newText);
            editor.NotifyChange();
        }
    });
    Searched();
}

void TEdReplDlg::ReplaceAllButtonClick()
{
    const std::string find = FindText();
    if (find.empty())
        return;
    const std::string replacement = ReplaceText();
    const uint16_t options = Options();
    Guarded([&] {
        if (!(options & srRegExp))
            stepPastSelectedMatch(Memo().Editor(), find,
                                  (options & srMatchCase) ? TLetterCase::Exact : TLetterCase::Ignored);
        useBothTexts(find, replacement);
        replaceAllSteps(find, replacement, options);
    });
    Searched();
}

// The whole run is one undo step; without prompting nothing is painted until it is done.
// The run covers the document from its start, forwards.
void TEdReplDlg::replaceAllSteps(const std::string& find, const std::string& replacement, uint16_t options)
{
    TSourceEditor& editor = Memo().Editor();
    const bool prompting = PromptOnReplBox->isChecked();
    PromptOnReplBox->setEnabled(false);
    struct TEnableAgain
    {
        QCheckBox* Box;
        ~TEnableAgain() { Box->setEnabled(true); }
    } enableAgain{PromptOnReplBox};
    {
        const TGroupScope group(editor, ReplaceAllGroup);
        const TRedrawOff redrawOff(Memo(), !prompting);
        editor.SetSelection(0, 0);
        Settings().LastFindText = find;
        Settings().LastFindOptions = options | srDirect;
        if (prompting) {
            replaceEachMatch(Memo().Search(), editor, find, replacement, options, [&] {
                Memo().viewport()->update();
                const TMessageResult answer = messageBoxes().show(
                    TMessageKind::Confirmation, applicationTitle,
                    cp1252ToUtf8("Replace this instance of \"" + find + "\" with \"" + replacement + "\" ?"),
                    TMessageButtons::YesNoCancel);
                return answer == TMessageResult::Yes ? TReplaceAnswer::Yes
                       : answer == TMessageResult::No ? TReplaceAnswer::No
                                                      : TReplaceAnswer::Cancel;
            });
        } else {
            std::string newText;
            int64_t position = 0;
            const uint16_t all = static_cast<uint16_t>((options | srDirect | srReplaceAll) & ~srBackward);
            Memo().FindReplace(find, replacement, all, newText, position);
        }
    }
    const TSelectionPair selection = editor.Selection();
    editor.SetSelection(selection.Anchor, selection.Caret);
    editor.Host().ScrollCaretIntoView();
    editor.NotifyChange();
}
