// What the annotations of a document tell the control that shows it: marks that moved or went,
// breakpoints that went or changed state, named bookmarks that went, and areas to repaint.
// A store points its lists at the control that attached it last; a store no control shows
// tells no one. Every method has a harmless default.
#pragma once

#include <cstdint>
#include <string>

class TMark;
class TSM_BreakpointData;

class TMarkEvents
{
public:
    virtual ~TMarkEvents() = default;

    // Whether anyone listens to moved marks: reporting them costs a visit to each moved mark,
    // which a keystroke near the top of a document full of marks should not pay for nothing.
    virtual bool WantsMarkChanges() const { return false; }
    virtual void MarkChanged(TMark& mark) { (void)mark; }
    // The mark is about to be freed.
    virtual void MarkFreed(TMark& mark) { (void)mark; }
    virtual void CustomBookmarkFreed(const std::string& name) { (void)name; }
    // The breakpoint is about to be freed.
    virtual void BreakpointFreed(TSM_BreakpointData& breakpoint) { (void)breakpoint; }
    virtual void BreakpointStateChanged(TSM_BreakpointData& breakpoint) { (void)breakpoint; }
    // The look of the characters between two offsets changed (the rows holding them, and
    // their gutter, are to be painted again).
    virtual void MarksChanged(int64_t from, int64_t to) { (void)from, (void)to; }
};
