// Search in the editor control: FindText, FindReplace, the control's own find dialog with its
// Find Next, the compile-error dialog, OnSearchFail and the "not found." message, and keeping
// the window painted while a long search runs. The searching itself is TEditorSearch's.
#include "editor/widget/RegExpErrorDialog.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoFindDialog.h"

#include "platform/CodePage1252.h"
#include "platform/MessageBoxes.h"

#include "base/Exception.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <new>

namespace {

constexpr qint64 kBusyPointerAfterMs = 100;
constexpr qint64 kPaintEveryMs = 50;

// What a search needs from the window. While a search runs, Poll lets the window repaint
// (input waits, so nothing can edit the text meanwhile) and stops the search when the shown
// document changed anyway (another program's request to open a file is not user input).
class TMemoSearchHost final : public TSearchHost
{
public:
    explicit TMemoSearchHost(TSourceMemo& memo) : m_memo(memo) {}

    void ShowFindDialog(const std::string& text, uint16_t flags) override
    {
        m_showFind(text, flags);
    }
    void ShowRegExpError(const std::string& message) override { m_showRegExpError(message); }
    void ShowSearchError(const std::string& message) override
    {
        messageBoxes().show(TMessageKind::Error, "Error", cp1252ToUtf8(message),
                            TMessageButtons::Ok);
    }
    void BeginBusy(bool showNow) override
    {
        if (m_depth++ > 0)
            return;
        m_store = &m_memo.Store();
        m_length = m_store->CharCount();
        m_started.start();
        m_painted.start();
        if (showNow)
            showBusyPointer();
    }
    bool Poll() override
    {
        if (!m_pointerShown && m_started.elapsed() >= kBusyPointerAfterMs)
            showBusyPointer();
        if (m_painted.elapsed() >= kPaintEveryMs) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_painted.restart();
        }
        return &m_memo.Store() == m_store && m_store->CharCount() == m_length;
    }
    void EndBusy() override
    {
        if (--m_depth > 0)
            return;
        if (m_pointerShown)
            QApplication::restoreOverrideCursor();
        m_pointerShown = false;
    }

    std::function<void(const std::string&, uint16_t)> m_showFind;
    std::function<void(const std::string&)> m_showRegExpError;

private:
    void showBusyPointer()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_pointerShown = true;
    }

    TSourceMemo& m_memo;
    int m_depth = 0;
    const TTextStore* m_store = nullptr;
    int64_t m_length = 0;
    QElapsedTimer m_started;
    QElapsedTimer m_painted;
    bool m_pointerShown = false;
};

} // namespace

void TSourceMemo::setUpSearch()
{
    auto host = std::make_unique<TMemoSearchHost>(*this);
    host->m_showFind = [this](const std::string& text, uint16_t flags) {
        showFindDialog(text, flags);
    };
    host->m_showRegExpError = [this](const std::string& text) {
        m_regExpErrorPresenter(*this, text);
    };
    m_regExpErrorPresenter = [](TSourceMemo& memo, const std::string& text) {
        TRegExpErrorDialog dialog(text, &memo);
        dialog.exec();
    };
    m_search = std::make_unique<TEditorSearch>(*m_editor, host.get());
    m_searchHost = std::move(host);
}

bool TSourceMemo::FindText(const std::string& text, uint16_t flags, int64_t& position)
{
    return m_search->FindText(text, flags, position);
}

bool TSourceMemo::FindReplace(const std::string& findText, const std::string& replacement,
                              uint16_t flags, std::string& newText, int64_t& position)
{
    if (!(flags & srReplaceAll))
        return m_search->FindReplace(findText, replacement, flags, newText, position);
    // Painting and highlighting wait for the whole run: one pass from the first changed row
    // afterwards, as after an undo; rows further down are coloured when they are shown.
    const bool wasLocked = PaintLocked();
    SetPaintLock(true);
    m_replacingAll = true;
    const auto finish = [&] {
        m_replacingAll = false;
        Rehighlight();
        SetPaintLock(wasLocked);
    };
    bool found = false;
    try {
        found = m_search->FindReplace(findText, replacement, flags, newText, position);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return found;
}

void TSourceMemo::showFindDialog(const std::string& text, uint16_t flags)
{
    if (!m_findDialog) {
        m_findDialog = new TSourceMemoFindDialog(this);
        m_findDialog->OnFindNext = [this](const std::string& findText, uint16_t findFlags) {
            findNextFromDialog(findText, findFlags);
        };
        // The matches it selects stay visible while the dialog has the focus.
        connect(m_findDialog, &QDialog::finished, this,
                [this] { SetHideSelection(m_hideSelectionBeforeFind); });
    }
    if (!m_findDialog->isVisible()) {
        m_hideSelectionBeforeFind = HideSelection();
        SetHideSelection(false);
    }
    m_findDialog->Preset(text, flags);
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

// Find Next of the control's own dialog (and F3): a search that finds nothing raises
// OnSearchFail, or says so in a message box.
void TSourceMemo::findNextFromDialog(const std::string& text, uint16_t flags)
{
    TEditorSearch::TOutcome outcome = TEditorSearch::TOutcome::Failed;
    try {
        outcome = m_search->FindNext(text, flags);
    } catch (const Exception& error) { // the editor's own failures, as a replace can raise
        messageBoxes().show(TMessageKind::Error, "Error", cp1252ToUtf8(error.what()),
                            TMessageButtons::Ok);
        return;
    } catch (const std::bad_alloc&) {
        messageBoxes().show(TMessageKind::Error, "Error", "Out of memory", TMessageButtons::Ok);
        return;
    }
    if (outcome == TEditorSearch::TOutcome::Found) {
        viewport()->update();
        return;
    }
    if (outcome != TEditorSearch::TOutcome::NotFound)
        return;
    if (OnSearchFail) {
        OnSearchFail(this, text);
        return;
    }
    messageBoxes().show(TMessageKind::Information, "Find",
                        cp1252ToUtf8("Search string \"" + text + "\" not found."),
                        TMessageButtons::Ok);
}

// Keys the key map passed on: Ctrl+F opens the control's find dialog and F3 repeats the last
// search, unless the host's own menus took those keys first.
bool TSourceMemo::searchKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_F && modifiers == Qt::ControlModifier) {
        int64_t position = 0;
        FindText(m_search->LastText(), m_search->LastFlags() & ~srDirect, position);
        return true;
    }
    if (event.key() == Qt::Key_F3 && modifiers == Qt::NoModifier) {
        if (m_search->LastText().empty()) {
            showFindDialog({}, 0);
        } else {
            findNextFromDialog(m_search->LastText(), m_search->LastFlags());
        }
        return true;
    }
    return false;
}
