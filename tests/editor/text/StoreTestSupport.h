// Helpers shared by the store tests: a plain reference model of normalisation and row
// cutting, and small views and listeners that record what the store told them.
#pragma once

#include "editor/text/StoreHooks.h"
#include "editor/text/TextStore.h"

#include <string>
#include <vector>

// The stored form of text, computed the obvious way.
inline std::string normalised(const std::string& text)
{
    std::string out;
    char pending = 0;
    for (unsigned char c : text) {
        if (c == '\r' || c == '\n') {
            if (pending && pending != static_cast<char>(c)) {
                pending = 0;
                continue;
            }
            out += '\r';
            pending = static_cast<char>(c);
            continue;
        }
        pending = 0;
        out += (c >= 32 || c == '\t') ? static_cast<char>(c) : '.';
    }
    return out;
}

// The row lengths of a store, in order.
inline std::vector<int> rowLengths(const TTextStore& store)
{
    std::vector<int> lengths;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next)
        lengths.push_back(row->Length);
    return lengths;
}

class RecordingView : public TStoreView
{
public:
    int64_t TopRow() const override { return m_top; }
    void SetTopRow(int64_t row) override { m_top = row; }
    int64_t VisibleRows() const override { return m_visible; }
    void RowsChanged(const TRowChange& change) override { changes.push_back(change); }
    void DocumentCleared() override { ++cleared; }
    void DocumentLoaded() override { ++loaded; }
    void FileNameUsed(const std::string& name) override { fileNames.push_back(name); }

    int64_t m_top = 0;
    int64_t m_visible = 3;
    std::vector<TRowChange> changes;
    int cleared = 0;
    int loaded = 0;
    std::vector<std::string> fileNames;
};

struct ShiftEvent
{
    char Kind; // 'i' inserted, 'd' deleted, 'c' cleared
    int64_t Position;
    int64_t Length;
    bool operator==(const ShiftEvent&) const = default;
};

class RecordingShiftTarget : public TStoreShiftTarget
{
public:
    explicit RecordingShiftTarget(std::vector<ShiftEvent>& log) : m_log(log) {}
    void TextInserted(int64_t position, int64_t length) override { m_log.push_back({'i', position, length}); }
    void TextDeleted(int64_t position, int64_t length) override { m_log.push_back({'d', position, length}); }
    void TextCleared() override { m_log.push_back({'c', 0, 0}); }

private:
    std::vector<ShiftEvent>& m_log;
};

class CountingUndo : public TStoreUndo
{
public:
    explicit CountingUndo(int& clears) : m_clears(clears) {}
    void Clear() override { ++m_clears; }

private:
    int& m_clears;
};
