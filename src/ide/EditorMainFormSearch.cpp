// The Search menu: Find and Replace (their modeless dialogs), Search Again, Show all with its
// inverted marks, which the next change of text removes, and Goto line number.
#include "ide/EditorMainForm.h"

#include "base/Exception.h"
#include "editor/edit/SourceEditor.h"
#include "editor/marks/MarkList.h"
#include "editor/search/REParser.h"
#include "editor/search/SearchFlags.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdFindDlg.h"
#include "ide/EdReplDlg.h"
#include "ide/GotoLineDialog.h"
#include "ide/ZbxEditProgram.h"
#include "ide/search/GotoLineRange.h"
#include "ide/search/ShowAllMarks.h"
#include "platform/CodePage1252.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"

#include <QAction>
#include <QPainter>

#include <new>

namespace {

// Painting stays off for the scope and the view is painted once afterwards.
class TLinesUpdate
{
public:
    explicit TLinesUpdate(TSourceMemo& memo) : m_memo(memo), m_active(memo.RedrawOn())
    {
        if (m_active)
            m_memo.SetRedraw(false);
    }
    ~TLinesUpdate()
    {
        if (m_active)
            m_memo.SetRedraw(true);
    }
    TLinesUpdate(const TLinesUpdate&) = delete;
    TLinesUpdate& operator=(const TLinesUpdate&) = delete;

private:
    TSourceMemo& m_memo;
    bool m_active;
};

} // namespace

void TEditorMainForm::connectSearchCommands()
{
    const std::pair<const char*, void (TEditorMainForm::*)()> items[] = {
        {"Find1", &TEditorMainForm::Find1Click},
        {"Replace1", &TEditorMainForm::Replace1Click},
        {"SearchAgain1", &TEditorMainForm::Searchagain1Click},
        {"Showall1", &TEditorMainForm::Showall1Click},
        {"Gotolinenumber1", &TEditorMainForm::Gotolinenumber1Click},
    };
    for (const auto& [name, handler] : items) {
        QAction* item = action(name);
        item->setEnabled(name != std::string_view("SearchAgain1"));
        connect(item, &QAction::triggered, this, handler);
    }
    SourceMemo1->OnDrawMark = [this](TSourceMemo*, QPainter* canvas, QRect rect, TMark& mark) {
        SourceMemo1DrawMark(*canvas, rect, mark);
    };
    SourceMemo1->OnTextChange = [this](TSourceMemo*, int64_t, int64_t) { SourceMemo1TextChange(); };
}

TEdFindDlg& TEditorMainForm::EdFindDlg()
{
    if (!m_findDlg) {
        m_findDlg = new TEdFindDlg(*m_settings, this);
        m_findDlg->OnSearched = [this] { SourceMemo1Change(); };
    }
    return *m_findDlg;
}

TEdReplDlg& TEditorMainForm::EdReplDlg()
{
    if (!m_replDlg) {
        m_replDlg = new TEdReplDlg(*m_settings, this);
        m_replDlg->OnSearched = [this] { SourceMemo1Change(); };
    }
    return *m_replDlg;
}

TGotoLineDialog& TEditorMainForm::GotoLineDialog()
{
    if (!m_gotoDlg)
        m_gotoDlg = new TGotoLineDialog(this);
    return *m_gotoDlg;
}

// The dialogs start with the selected text, else with the last search.
std::string TEditorMainForm::searchStartText() const
{
    std::string text = SourceMemo1->Editor().SelText();
    if (text.empty())
        text = m_settings->LastFindText;
    return text;
}

void TEditorMainForm::Find1Click()
{
    if (!m_current)
        return;
    EdFindDlg().Execute(*SourceMemo1, searchStartText(), m_settings->LastFindOptions);
}

void TEditorMainForm::Replace1Click()
{
    if (!m_current)
        return;
    EdReplDlg().Execute(*SourceMemo1, searchStartText(), m_settings->LastFindOptions);
}

void TEditorMainForm::Searchagain1Click()
{
    if (!m_current || m_settings->LastFindText.empty())
        return;
    try {
        findFromCaret(*SourceMemo1, m_settings->LastFindText, static_cast<uint16_t>(m_settings->LastFindOptions));
    } catch (const Exception& error) {
        showError(cp1252ToQString(error.what()));
    }
    SourceMemo1->viewport()->update();
    SourceMemo1Change();
}

// Every match of the last search gets a mark; marks of an earlier Show all go first, so each
// match is inverted once (a match inverted twice would look unmarked).
void TEditorMainForm::Showall1Click()
{
    if (!m_current)
        return;
    if (m_settings->LastFindText.empty()) {
        Find1Click();
        if (!m_settings->LastFindText.empty())
            Showall1Click();
        return;
    }
    const std::string text = m_settings->LastFindText;
    const auto options = static_cast<uint16_t>(m_settings->LastFindOptions | srDirect);
    TMatchMarker::TResult result;
    try {
        const TLinesUpdate update(*SourceMemo1);
        removeShowAllMarks(SourceMemo1->Marks());
        result = m_marker.MarkAll(SourceMemo1->Editor(), SourceMemo1->Marks(), text, options);
        m_marksShown = result.Count > 0;
    } catch (const std::bad_alloc&) {
        showError("Out of memory");
    }
    if (result.Failed) {
        TREParser probe;
        if ((options & srRegExp) && !probe.SetExpression(text)) {
            int64_t position = 0;
            SourceMemo1->FindText(text, options, position); // shows where the expression is wrong
        } else {
            showError(cp1252ToQString(result.Error));
        }
    }
    SourceMemo1->Editor().Host().ScrollCaretIntoView();
    SourceMemo1->Editor().NotifyChange();
    SourceMemo1->viewport()->update();
    SourceMemo1Change();
}

// Show all marks are inverted in place: each pixel of the mark's cells takes its complement,
// so the match keeps its colours' contrast on any background.
void TEditorMainForm::SourceMemo1DrawMark(QPainter& canvas, const QRect& rect, const TMark& mark)
{
    if (mark.Tag != kShowAllMarkTag)
        return;
    canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    canvas.fillRect(rect, Qt::white);
}

// Any change of text takes the Show all marks away.
void TEditorMainForm::SourceMemo1TextChange()
{
    if (!m_marksShown)
        return;
    m_marksShown = false;
    const TLinesUpdate update(*SourceMemo1);
    removeShowAllMarks(SourceMemo1->Marks());
}

bool TEditorMainForm::marksShown() const
{
    return m_marksShown;
}

// Lines as a list of strings holds them: the empty line after a final line break is none.
int64_t TEditorMainForm::documentLineCount() const
{
    TTextStore& store = SourceMemo1->Store();
    int64_t lines = store.LineCount();
    const int64_t length = store.CharCount();
    if (length > 0 && store.GetText(length - 1, length) == "\r")
        --lines;
    return lines;
}

void TEditorMainForm::Gotolinenumber1Click()
{
    if (!m_current)
        return;
    TSourceEditor& editor = SourceMemo1->Editor();
    const TGotoLineRange range = TGotoLineRange::ForLines(documentLineCount());
    const std::optional<int64_t> line = GotoLineDialog().Execute(range, editor.CaretLine());
    if (line)
        gotoLine(*line);
    SourceMemo1->setFocus();
    SourceMemo1Change();
}

void TEditorMainForm::gotoLine(int64_t line)
{
    TTextStore& store = SourceMemo1->Store();
    const TRowSpot spot = store.LineStart(line - 1);
    SourceMemo1->Editor().SetSelection(spot.Start, spot.Start);
    SourceMemo1->SetTopRow(centredTopRow(spot.Index, SourceMemo1->viewport()->height(), SourceMemo1->LineHeight()));
    SourceMemo1->Editor().NotifyChange();
    SourceMemo1->viewport()->update();
}
