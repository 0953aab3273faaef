#include "editor/marks/StoreMarks.h"

#include "editor/text/TextStore.h"

#include <memory>

void TStoreBookmarks::TextDeleting(int64_t start, int64_t end)
{
    Numbered.TextDeleting(start, end);
    Named.TextDeleting(start, end);
}

void TStoreBookmarks::TextInserted(int64_t position, int64_t length)
{
    Numbered.TextInserted(position, length);
    Named.TextInserted(position, length);
}

void TStoreBookmarks::TextDeleted(int64_t position, int64_t length)
{
    Numbered.TextDeleted(position, length);
    Named.TextDeleted(position, length);
}

void TStoreBookmarks::TextCleared()
{
    Numbered.TextCleared();
    Named.TextCleared();
}

TStoreBookmarks* BookmarksOf(const TTextStore& store)
{
    return dynamic_cast<TStoreBookmarks*>(store.Bookmarks());
}

TMarkList* MarksOf(const TTextStore& store)
{
    return dynamic_cast<TMarkList*>(store.Ranges());
}

TSM_Breakpoints* BreakpointsOf(const TTextStore& store)
{
    return dynamic_cast<TSM_Breakpoints*>(store.Breakpoints());
}

TSM_CodeBreak* CodeBreakOf(const TTextStore& store)
{
    return dynamic_cast<TSM_CodeBreak*>(store.CodeBreaks());
}

TStoreBookmarks& EnsureBookmarks(TTextStore& store, TMarkEvents* events)
{
    TStoreBookmarks* bookmarks = BookmarksOf(store);
    if (!bookmarks) {
        auto made = std::make_unique<TStoreBookmarks>();
        bookmarks = made.get();
        store.SetBookmarks(std::move(made));
    }
    bookmarks->Named.SetEvents(events);
    return *bookmarks;
}

TMarkList& EnsureMarks(TTextStore& store, TMarkEvents* events)
{
    TMarkList* marks = MarksOf(store);
    if (!marks) {
        auto made = std::make_unique<TMarkList>();
        marks = made.get();
        store.SetRanges(std::move(made));
    }
    marks->SetEvents(events);
    return *marks;
}

TSM_Breakpoints& EnsureBreakpoints(TTextStore& store, TMarkEvents* events)
{
    TSM_Breakpoints* breakpoints = BreakpointsOf(store);
    if (!breakpoints) {
        auto made = std::make_unique<TSM_Breakpoints>(store);
        breakpoints = made.get();
        store.SetBreakpoints(std::move(made));
    }
    breakpoints->SetEvents(events);
    return *breakpoints;
}

TSM_CodeBreak& EnsureCodeBreak(TTextStore& store, TMarkEvents* events)
{
    TSM_CodeBreak* codeBreak = CodeBreakOf(store);
    if (!codeBreak) {
        auto made = std::make_unique<TSM_CodeBreak>(store);
        codeBreak = made.get();
        store.SetCodeBreaks(std::move(made));
    }
    codeBreak->SetEvents(events);
    return *codeBreak;
}

void ReleaseMarkEvents(TTextStore& store, const TMarkEvents* events)
{
    if (TStoreBookmarks* bookmarks = BookmarksOf(store); bookmarks && bookmarks->Named.Events() == events)
        bookmarks->Named.SetEvents(nullptr);
    if (TMarkList* marks = MarksOf(store); marks && marks->Events() == events)
        marks->SetEvents(nullptr);
    if (TSM_Breakpoints* breakpoints = BreakpointsOf(store); breakpoints && breakpoints->Events() == events)
        breakpoints->SetEvents(nullptr);
    if (TSM_CodeBreak* codeBreak = CodeBreakOf(store); codeBreak && codeBreak->Events() == events)
        codeBreak->SetEvents(nullptr);
}

void SetMarkEvents(TTextStore& store, TMarkEvents* events)
{
    if (TStoreBookmarks* bookmarks = BookmarksOf(store))
        bookmarks->Named.SetEvents(events);
    if (TMarkList* marks = MarksOf(store))
        marks->SetEvents(events);
    if (TSM_Breakpoints* breakpoints = BreakpointsOf(store))
        breakpoints->SetEvents(events);
    if (TSM_CodeBreak* codeBreak = CodeBreakOf(store))
        codeBreak->SetEvents(events);
}
