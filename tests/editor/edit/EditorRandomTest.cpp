// Seeded model-based test: thousands of random edits (typing in both modes, ENTER with
// auto-indent, deletions, paste and cut, block indent and un-indent, line and word deletion,
// undo and redo in between) applied to the editor and to a plain byte string side by side.
// Afterwards everything is undone back to the original text and redone to the end, comparing
// text and selection at every step and checking the store and the log after each.
#include "EditTestSupport.h"

#include "editor/keys/KeyCommands.h"

#include <random>

namespace {

// Stored form of inserted text, written independently of the store's normaliser.
std::string normalised(const std::string& in)
{
    std::string out;
    char previous = 0;
    for (const char c : in) {
        if (c == 13 || c == 10) {
            const char partner = c == 13 ? 10 : 13;
            if (previous == partner) {
                previous = 0;
                continue;
            }
            out += '\r';
            previous = c;
            continue;
        }
        previous = 0;
        out += (static_cast<unsigned char>(c) < 32 && c != '\t') ? '.' : c;
    }
    return out;
}

struct Model
{
    std::string text;
    int64_t anchor = 0;
    int64_t caret = 0;

    int64_t start() const { return std::min(anchor, caret); }
    int64_t end() const { return std::max(anchor, caret); }
    int64_t lineStart(int64_t p) const
    {
        const size_t cr = p == 0 ? std::string::npos : text.rfind('\r', static_cast<size_t>(p - 1));
        return cr == std::string::npos ? 0 : static_cast<int64_t>(cr) + 1;
    }
    int64_t lineEnd(int64_t p) const
    {
        const size_t cr = text.find('\r', static_cast<size_t>(p));
        return cr == std::string::npos ? static_cast<int64_t>(text.size()) : static_cast<int64_t>(cr);
    }
    void replace(const std::string& with)
    {
        const int64_t s = start();
        text.replace(static_cast<size_t>(s), static_cast<size_t>(end() - s), with);
        anchor = caret = s + static_cast<int64_t>(with.size());
    }
    std::vector<int64_t> selectedLines() const
    {
        std::vector<int64_t> lines{lineStart(start())};
        for (int64_t p = lineEnd(lines.back()); p < static_cast<int64_t>(text.size()) && p + 1 < end();
             p = lineEnd(lines.back()))
            lines.push_back(p + 1);
        return lines;
    }
    // Display column after the first count bytes of the line at ls (stops every 4 columns).
    int column(int64_t ls, int64_t count) const
    {
        int col = 0;
        for (int64_t i = 0; i < count; ++i)
            col = text[static_cast<size_t>(ls + i)] == '\t' ? col + 4 - col % 4 : col + 1;
        return col;
    }
    int64_t leadingBlanks(int64_t ls) const
    {
        int64_t n = 0;
        while (ls + n < static_cast<int64_t>(text.size()) &&
               (text[static_cast<size_t>(ls + n)] == ' ' || text[static_cast<size_t>(ls + n)] == '\t'))
            ++n;
        return n;
    }
};

struct Step
{
    std::string before, after;
    TSelectionPair selBefore, selAfter;
};

class RandomSession
{
public:
    RandomSession(TTextStore& store, TSourceEditor& editor, FakeClipboard& clipboard, unsigned seed)
        : m_store(store), m_editor(editor), m_clipboard(clipboard), m_random(seed)
    {
    }

    void run(int operations);
    void undoAllThenRedoAll();

private:
    int pick(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
    std::string randomText(int maxLength);
    void randomSelection();
    // Returns true for an undo or redo.
    bool applyOne();
    void typeKey(char key);
    void indent(bool unindent);
    void compare(const char* what);

    TTextStore& m_store;
    TSourceEditor& m_editor;
    FakeClipboard& m_clipboard;
    std::mt19937 m_random;
    Model m_model;
    std::vector<Step> m_done;
    std::vector<Step> m_undone;
    std::string m_original;
    TSelectionPair m_selBefore;
    int m_lastOperation = -1;
};

std::string RandomSession::randomText(int maxLength)
{
    static const char alphabet[] = "abcXYZ_09 -'\t\t  \r\n\r\n\x01\xA0\xE9";
    std::string s;
    for (int i = pick(maxLength + 1); i > 0; --i)
        s += alphabet[pick(sizeof alphabet - 1)];
    return s;
}

void RandomSession::compare(const char* what)
{
    ASSERT_EQ(m_editor.check(), "") << what;
    ASSERT_EQ(m_store.GetText(), m_model.text)
        << what << ", operation " << m_lastOperation << ", selection before " << m_selBefore.Anchor
        << "," << m_selBefore.Caret << (m_editor.InsertMode() ? " insert" : " overwrite");
    ASSERT_EQ(m_editor.Selection(), (TSelectionPair{m_model.anchor, m_model.caret})) << what;
}

void RandomSession::randomSelection()
{
    const auto n = static_cast<int>(m_model.text.size());
    const int64_t a = pick(n + 1);
    const int64_t c = pick(4) == 0 ? pick(n + 1) : a;
    m_editor.SetSelection(a, c);
    m_model.anchor = a;
    m_model.caret = c;
}

void RandomSession::typeKey(char key)
{
    Model& m = m_model;
    if (!m_editor.InsertMode() && key != '\r' && m.anchor == m.caret &&
        m.caret < static_cast<int64_t>(m.text.size()) && m.text[static_cast<size_t>(m.caret)] != '\r')
        m.caret = m.anchor + 1;
    int indent = -1;
    if (key == '\r') {
        const int64_t ls = m.lineStart(m.start());
        const int64_t blanks = std::min(m.leadingBlanks(ls), m.start() - ls);
        indent = m.column(ls, blanks);
    }
    m.replace(std::string(1, key));
    if (key == '\r' && indent == 0) {
        for (int64_t ls = m.lineStart(m.caret - 1);; ls = m.lineStart(ls - 1)) {
            const int64_t blanks = m.leadingBlanks(ls);
            if (ls + blanks < m.lineEnd(ls)) {
                indent = m.column(ls, blanks);
                break;
            }
            if (ls == 0)
                break;
        }
    }
    if (indent > 0)
        m.replace(std::string(static_cast<size_t>(indent), ' '));
    m_editor.KeyPress(key);
}

void RandomSession::indent(bool unindent)
{
    Model& m = m_model;
    if (m.anchor == m.caret)
        return;
    const int step = 1 + pick(3);
    const std::vector<int64_t> lines = m.selectedLines();
    int64_t delta = 0;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const auto at = static_cast<size_t>(*it);
        if (!unindent) {
            m.text.insert(at, static_cast<size_t>(step), ' ');
            delta += step;
            continue;
        }
        int64_t count = 0;
        while (count < step && at + count < m.text.size() &&
               (m.text[at + count] == ' ' || m.text[at + count] == '\t' || m.text[at + count] == '\xA0'))
            ++count;
        m.text.erase(at, static_cast<size_t>(count));
        delta -= std::clamp<int64_t>(m.end() - *it, 0, count);
    }
    const int64_t newEnd = std::max(lines.front(), m.end() + delta);
    if (m.caret < m.anchor) {
        m.anchor = newEnd;
        m.caret = lines.front();
    } else {
        m.anchor = lines.front();
        m.caret = newEnd;
    }
    if (unindent)
        m_editor.UnindentBlock(step);
    else
        m_editor.IndentBlock(step, false);
}

bool RandomSession::applyOne()
{
    Model& m = m_model;
    const bool big = m.text.size() > 1500;
    m_lastOperation = pick(16);
    switch (m_lastOperation) {
    case 0: case 1: case 2: case 3:
        typeKey("abcxyz _-'9\xE9"[pick(12)]);
        break;
    case 4:
        typeKey(pick(2) ? '\r' : '\t');
        break;
    case 5:
        m_editor.ExecuteCommand(cmdToggleInsertMode, false);
        break;
    case 6:
        if (m.anchor == m.caret && m.caret < static_cast<int64_t>(m.text.size()))
            m.caret = m.anchor + 1;
        m.replace("");
        m_editor.ExecuteCommand(cmdDeleteChar, false);
        break;
    case 7:
        if (m.anchor == m.caret && m.caret > 0)
            m.caret = m.anchor - 1;
        m.replace("");
        m_editor.ExecuteCommand(cmdDeletePrevChar, false);
        break;
    case 8: {
        std::string clip = randomText(big ? 2 : 60);
        m_clipboard.formats = {{TClipFormat::Text, clip}};
        m.replace(normalised(clip));
        m_editor.ExecuteCommand(cmdPaste, false);
        break;
    }
    case 9:
        m.replace("");
        m_editor.ExecuteCommand(cmdCut, false);
        break;
    case 10:
        indent(false);
        break;
    case 11:
        indent(true);
        break;
    case 12:
        if (m.anchor == m.caret) {
            const int64_t ls = m.lineStart(m.caret);
            if (ls == static_cast<int64_t>(m.text.size()))
                break;
            m.anchor = ls;
            m.caret = std::min<int64_t>(m.lineEnd(ls) + 1, static_cast<int64_t>(m.text.size()));
            m_selBefore = {m.anchor, m.caret};
        }
        m.replace("");
        m_editor.ExecuteCommand(cmdDeleteLine, false);
        break;
    case 13: {
        const bool before = pick(2) == 0;
        const int64_t target = before ? m_editor.WordBefore(m.caret) : m_editor.WordAfter(m.caret);
        if (target != m.caret) {
            // The word move extends the selection, then delete-character runs on it.
            m.caret = target;
            if (m.anchor == m.caret && m.caret < static_cast<int64_t>(m.text.size()))
                m.caret = m.anchor + 1;
            m.replace("");
        }
        m_editor.ExecuteCommand(before ? cmdDeletePrevWord : cmdDeleteNextWord, false);
        break;
    }
    case 14:
        if (big) {
            m_editor.SetSelection(0, static_cast<int64_t>(m.text.size()) / 2);
            m.anchor = 0;
            m.caret = static_cast<int64_t>(m.text.size()) / 2;
            m_selBefore = {m.anchor, m.caret};
            m.replace("");
            m_editor.ReplaceSelection({});
        }
        break;
    default:
        if (!m_done.empty() && pick(2) == 0) {
            const Step step = m_done.back();
            m_done.pop_back();
            m_editor.Undo();
            m.text = step.before;
            m.anchor = step.selBefore.Anchor;
            m.caret = step.selBefore.Caret;
            m_undone.push_back(step);
        } else if (!m_undone.empty()) {
            const Step step = m_undone.back();
            m_undone.pop_back();
            m_editor.Redo();
            m.text = step.after;
            m.anchor = step.selAfter.Anchor;
            m.caret = step.selAfter.Caret;
            m_done.push_back(step);
        }
        return true;
    }
    return false;
}

void RandomSession::run(int operations)
{
    m_original = m_model.text = m_store.GetText();
    const auto& log = *dynamic_cast<TStoreUndoStack*>(m_store.UndoStack());
    for (int i = 0; i < operations; ++i) {
        randomSelection();
        const std::string before = m_model.text;
        m_selBefore = {m_model.anchor, m_model.caret};
        const int64_t entries = log.Count();
        const bool moved = applyOne();
        compare("after a random edit");
        if (::testing::Test::HasFatalFailure())
            return;
        // An edit that logged a step discards the steps that could be redone.
        if (!moved && log.Count() != entries) {
            m_done.push_back({before, m_model.text, m_selBefore, {m_model.anchor, m_model.caret}});
            m_undone.clear();
        }
        ASSERT_EQ(m_editor.CanRedo(), !m_undone.empty()) << i;
    }
}

void RandomSession::undoAllThenRedoAll()
{
    while (!m_undone.empty()) {
        m_done.push_back(m_undone.back());
        m_undone.pop_back();
        m_editor.Redo();
        m_model.text = m_done.back().after;
        m_model.anchor = m_done.back().selAfter.Anchor;
        m_model.caret = m_done.back().selAfter.Caret;
        compare("redo before the full undo");
    }
    const std::string end = m_model.text;
    for (auto it = m_done.rbegin(); it != m_done.rend(); ++it) {
        m_editor.Undo();
        m_model.text = it->before;
        m_model.anchor = it->selBefore.Anchor;
        m_model.caret = it->selBefore.Caret;
        compare("undo");
        if (::testing::Test::HasFatalFailure())
            return;
    }
    ASSERT_EQ(m_store.GetText(), m_original);
    ASSERT_FALSE(m_editor.Modified());
    for (const Step& step : m_done) {
        m_editor.Redo();
        m_model.text = step.after;
        m_model.anchor = step.selAfter.Anchor;
        m_model.caret = step.selAfter.Caret;
        compare("redo");
        if (::testing::Test::HasFatalFailure())
            return;
    }
    ASSERT_EQ(m_store.GetText(), end);
    ASSERT_FALSE(m_editor.CanRedo());
}

} // namespace

using EditorRandomTest = EditorFixture;

TEST_F(EditorRandomTest, RandomEditsUndoAndRedoAgreeWithAPlainString)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        editor.Settings.Options = smoAutoIndent | smoUseTAB;
        load("first line\r\n\tsecond\r\n\r\n  third line\r\n");
        editor.SetInsertMode(true);
        RandomSession session(store, editor, clipboard, seed);
        session.run(2000);
        ASSERT_FALSE(HasFatalFailure()) << "seed " << seed;
        session.undoAllThenRedoAll();
        ASSERT_FALSE(HasFatalFailure()) << "seed " << seed;
    }
}
