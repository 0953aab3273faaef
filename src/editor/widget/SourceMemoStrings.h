// TSourceMemoStrings, the Lines adapter of the editor control: the document as a list of
// strings, one per row, or one per logical line when built with whole lines and word wrap is
// on. Every operation goes through the control's messages, so edits are logged for undo and
// raise the control's events like any other edit.
// An item never holds its line break. An empty document has no items; a document ending in a
// line break has no item for the empty line after it, as a list of strings saved with CR LF
// after every item would read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TSourceMemo;
class TStream;
class TTextStore;

enum class TLinesMode
{
    Rows,       // every row is an item
    WholeLines, // with word wrap on, the rows of one line form one item
};

class TSourceMemoStrings
{
public:
    // The longest item Get returns in whole-line mode.
    static constexpr int kMaxItemLength = 4096;

    explicit TSourceMemoStrings(TSourceMemo& memo, TLinesMode mode = TLinesMode::Rows)
        : m_memo(memo), m_mode(mode)
    {
    }

    TSourceMemo& Memo() const { return m_memo; }
    TLinesMode Mode() const { return m_mode; }
    void SetMode(TLinesMode mode) { m_mode = mode; }
    // Whether items are currently whole lines (the mode asks for it and word wrap is on).
    bool WholeLines() const;

    int64_t Count() const;
    // Item i without its line break; empty for an index out of range.
    std::string Get(int64_t i) const;
    // Replaces the text of item i (its line break stays); nothing out of range.
    void Put(int64_t i, std::string_view s);
    // Inserts s as item i: before an existing item, or after the last one when i equals
    // Count; nothing for other indexes.
    void Insert(int64_t i, std::string_view s);
    void Add(std::string_view s) { Insert(Count(), s); }
    // Appends every string as an item, in one edit.
    void AddStrings(const std::vector<std::string>& strings);
    // Removes item i with its line break; nothing out of range.
    void Delete(int64_t i);
    void Clear();

    // The control's text with CR LF line breaks (CR alone for a store in lsLF style).
    std::string GetTextStr() const;
    // Replaces the whole text unless it equals the current one (line breaks compared as
    // CR LF, so the store's line-end style does not matter).
    void SetTextStr(std::string_view s);

    // Nested updates suspend painting once; the outermost EndUpdate repaints.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    void LoadFromStream(TStream& stream);
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(TStream& stream);
    void SaveToFile(const std::string& fileName);

private:
    // Where an item lies: its first character, the end of its text (before the CR) and the
    // start of the next item (after the CR; the document end for the last one).
    struct TItemSpan
    {
        int64_t Start = 0;
        int64_t TextEnd = 0;
        int64_t End = 0;
    };

    TTextStore& store() const;
    bool spanOf(int64_t i, TItemSpan& span) const;
    bool rowSpan(int64_t i, TItemSpan& span) const;
    bool lineSpan(int64_t i, TItemSpan& span) const;
    int64_t lineCount() const;
    void replaceRange(int64_t start, int64_t end, std::string_view text);
    void setUpdateState(bool updating);

    TSourceMemo& m_memo;
    TLinesMode m_mode;
    int m_updateCount = 0;
};

// Converts every line break (CR, LF, CR LF, LF CR) to CR LF.
std::string AdjustLineBreaks(std::string_view text);
