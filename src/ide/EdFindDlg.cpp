#include "ide/EdFindDlg.h"

#include "editor/search/REParser.h"
#include "editor/search/SearchFlags.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdPersistent.h"
#include "ide/ZbxEditProgram.h"
#include "ide/search/SearchSteps.h"
#include "platform/CodePage1252.h"
#include "platform/MessageBoxes.h"

#include <QPushButton>

TEdFindDlg::TEdFindDlg(TEdPersistent& settings, QWidget* parent)
    : TEdSearchDialog(settings, "Find text...", parent)
{
    setObjectName("EdFindDlg");
    connect(OKButton, &QPushButton::clicked, this, &TEdFindDlg::OKButtonClick);
}

void TEdFindDlg::OKButtonClick()
{
    const std::string text = FindText();
    if (text.empty())
        return;
    const uint16_t options = Options();
    Guarded([&] {
        UseFindText(text);
        Settings().LastFindText = text;
        Settings().LastFindOptions = options | srDirect;
        findFromCaret(Memo(), text, options);
    });
    Searched();
}

bool findFromCaret(TSourceMemo& editor, const std::string& text, uint16_t options)
{
    options |= srDirect;
    if (!(options & srRegExp))
        stepPastSelectedMatch(editor.Editor(), text,
                              (options & srMatchCase) ? TLetterCase::Exact : TLetterCase::Ignored);
    int64_t position = 0;
    if (editor.FindText(text, options, position))
        return true;
    if (options & srRegExp) {
        TREParser probe;
        if (!probe.SetExpression(text))
            return false; // the editor showed where the expression is wrong
    }
    messageBoxes().show(TMessageKind::Information, applicationTitle, cp1252ToUtf8("\"" + text + "\" not found"),
                        TMessageButtons::Ok);
    return false;
}
