// What the editing core needs from the control that shows it: view geometry for the page and
// scroll commands, repaint and re-highlight requests, the beep, the change notification and
// the commands that belong to other parts of the control (bookmarks, printing). Every method
// has a harmless default so tests override only what they observe.
#pragma once

#include <cstdint>

class TEditorHost
{
public:
    virtual ~TEditorHost() = default;

    // The row index at the top of the view and the number of rows it shows.
    virtual int64_t TopRow() const { return 0; }
    virtual void SetTopRow(int64_t row) { (void)row; }
    virtual int64_t VisibleRows() const { return 1; }

    virtual void ScrollCaretIntoView() {}
    // Runs the pending re-highlight pass; dropped when there is no active parser.
    virtual void Rehighlight() {}
    // Forgets the pending re-highlight start (after undoing a block indent or un-indent).
    virtual void DropPendingRehighlight() {}
    virtual void CaretShapeChanged() {}
    virtual void Beep() {}
    // OnChange: the change flags say why.
    virtual void Changed(uint32_t changeFlags) { (void)changeFlags; }

    virtual void SetBookmark(int number) { (void)number; }
    virtual void GotoBookmark(int number) { (void)number; }
    // Key command 44, "Print selection".
    virtual void PrintSelectionCommand() {}
};
