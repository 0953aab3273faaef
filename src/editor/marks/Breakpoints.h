// The breakpoints of a document and its execution point, ordered by position, each standing at
// the start of its line. Edits move them in O(log n + breakpoints the edit touches): inserting
// at p moves those after p; deleting [s, e) frees a breakpoint whose whole line (its line break
// included) lay inside the range, puts one whose line lost its start to the range (or was
// joined to the line before) at the start of the line holding s, and moves those after e back.
// The execution point is disabled instead of freed.
// Invariants (check()): those of the offset tree; every entry's Owner is this list.
#pragma once

#include "editor/marks/OffsetTree.h"
#include "editor/text/StoreHooks.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TMarkEvents;
class TSM_Breakpoints;
class TTextStore;

// Colours are COLORREF values: 0x00BBGGRR.
using TColorRef = uint32_t;

class TSM_BreakpointData : public TOffsetNode
{
public:
    // The offset of the start of the breakpoint's line.
    int64_t Position() const { return Start(); }
    bool Enabled() const { return m_enabled; }
    // Marks the list for repaint and tells the list's events and the state-change handler.
    void SetEnabled(bool enabled);

    bool Valid = true;
    int32_t Line = 0;      // as given at creation
    std::string Condition; // as given at creation
    TSM_Breakpoints* Owner = nullptr;
    std::function<void(TSM_BreakpointData&)> OnStateChange;

private:
    friend class TSM_Breakpoints;
    bool m_enabled = true;
};

// How a row with a breakpoint is shown: a gutter image and the row's colours.
struct TBreakpointStyle
{
    int Image = -1;
    TColorRef Text = 0;
    TColorRef Background = 0;
};

class TSM_Breakpoints : public TStoreShiftTarget
{
public:
    static constexpr int kEnabledImage = 11;
    static constexpr int kDisabledImage = 12;

    // The list reads line starts from the store that owns it.
    explicit TSM_Breakpoints(TTextStore& store);
    // Frees the breakpoints without reporting them: the document itself is going.
    ~TSM_Breakpoints() override;
    TSM_Breakpoints(const TSM_Breakpoints&) = delete;
    TSM_Breakpoints& operator=(const TSM_Breakpoints&) = delete;

    void SetEvents(TMarkEvents* events) { m_events = events; }
    TMarkEvents* Events() const { return m_events; }

    // A new enabled breakpoint at the start of the line holding position. The list owns it.
    TSM_BreakpointData* Add(int64_t position, int32_t line, const std::string& condition = {});
    // Reports the breakpoint as freed, then frees it.
    void Remove(TSM_BreakpointData* breakpoint);
    void Clear();
    size_t Count() const { return m_tree.Size(); }
    TSM_BreakpointData* First() const;
    TSM_BreakpointData* Next(const TSM_BreakpointData& breakpoint) const;

    // The breakpoint whose line starts at position, by bisection; null when none.
    TSM_BreakpointData* BreakpointAt(int64_t position) const;
    // The look of the row starting at position; false when no breakpoint is shown there.
    virtual bool GetBreakpointStyle(int64_t position, TBreakpointStyle& style) const;

    int EnabledImage = kEnabledImage;
    int DisabledImage = kDisabledImage;
    TColorRef EnabledText = 0xFFFFFF;       // white
    TColorRef EnabledBackground = 0x0000FF; // red
    TColorRef DisabledText = 0x00FFFF;      // yellow
    TColorRef DisabledBackground = 0x008000; // dark green

    void TextDeleting(int64_t start, int64_t end) override;
    void TextInserted(int64_t position, int64_t length) override;
    void TextDeleted(int64_t position, int64_t length) override;
    void TextCleared() override;

    std::string check() const;

protected:
    // A breakpoint whose line was deleted: freed here, disabled for the execution point.
    virtual void lineDeleted(TSM_BreakpointData& breakpoint, int64_t lineStart);
    void stateChanged(TSM_BreakpointData& breakpoint);
    void discard(std::vector<TSM_BreakpointData*> breakpoints);
    void repaint(int64_t from, int64_t to);
    int64_t lineStartOf(int64_t position) const;

    TTextStore& m_store;
    TOffsetTree m_tree;
    TMarkEvents* m_events = nullptr;

private:
    friend class TSM_BreakpointData;
    std::vector<TSM_BreakpointData*> m_doomed; // lines wholly inside the range being deleted
};

// The execution point: one entry, shown only while enabled, as image 12 with white text on
// navy. Deleting its line disables it.
class TSM_CodeBreak : public TSM_Breakpoints
{
public:
    explicit TSM_CodeBreak(TTextStore& store);

    // Puts the point (made on first use) at the start of the line holding position and
    // enables it.
    TSM_BreakpointData& SetPoint(int64_t position, int32_t line);
    // The point, or null when none was ever set.
    TSM_BreakpointData* Point() const { return First(); }
    bool GetBreakpointStyle(int64_t position, TBreakpointStyle& style) const override;

    int PointImage = kDisabledImage;
    TColorRef PointText = 0xFFFFFF;       // white
    TColorRef PointBackground = 0x800000; // navy

protected:
    void lineDeleted(TSM_BreakpointData& breakpoint, int64_t lineStart) override;
};
