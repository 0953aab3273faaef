// Seeded random edits of a store carrying marks, breakpoints, an execution point and bookmarks,
// against plain models: lists of intervals and positions updated by the rules written the
// obvious way over a byte string. Every step compares every object and what was reported, and
// checks the invariants; numbered bookmarks are compared with a walk over the row bits, also
// after lines are re-cut as word wrap would.
#include "editor/marks/StoreMarks.h"

#include "editor/marks/MarkEvents.h"
#include "editor/text/TextStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace {

struct TModelMark
{
    int64_t Start;
    int64_t End;
};

struct TModelBreakpoint
{
    int64_t Position;
    bool Enabled;
};

class TRecordingEvents : public TMarkEvents
{
public:
    bool WantsMarkChanges() const override { return true; }
    void MarkChanged(TMark& mark) override { changed.insert(mark.Tag); }
    void MarkFreed(TMark& mark) override { freedMarks.insert(mark.Tag); }
    void BreakpointFreed(TSM_BreakpointData& bp) override { freedBreakpoints.insert(bp.Line); }
    void CustomBookmarkFreed(const std::string& name) override { freedNames.insert(name); }
    void clear()
    {
        changed.clear();
        freedMarks.clear();
        freedBreakpoints.clear();
        freedNames.clear();
    }

    std::set<int32_t> changed;
    std::set<int32_t> freedMarks;
    std::set<int32_t> freedBreakpoints;
    std::set<std::string> freedNames;
};

int64_t lineStartIn(const std::string& text, int64_t position)
{
    if (position == 0)
        return 0;
    const size_t cr = text.rfind('\r', static_cast<size_t>(position) - 1);
    return cr == std::string::npos ? 0 : static_cast<int64_t>(cr) + 1;
}

int64_t lineEndIn(const std::string& text, int64_t position)
{
    const size_t cr = text.find('\r', static_cast<size_t>(position));
    return cr == std::string::npos ? static_cast<int64_t>(text.size()) : static_cast<int64_t>(cr) + 1;
}

class TMarksModel
{
public:
    std::string text;
    std::map<int32_t, TModelMark> marks;
    std::map<int32_t, TModelBreakpoint> breakpoints;
    TModelBreakpoint point{0, false};
    bool hasPoint = false;
    std::map<std::string, int64_t> named;
    std::set<int32_t> changed, freedMarks, freedBreakpoints;
    std::set<std::string> freedNames;

    void insert(int64_t p, const std::string& stored)
    {
        const auto n = static_cast<int64_t>(stored.size());
        text.insert(static_cast<size_t>(p), stored);
        for (auto& [id, m] : marks) {
            if (m.Start >= p) {
                m.Start += n, m.End += n;
                changed.insert(id);
            } else if (m.End > p) {
                m.End += n;
                changed.insert(id);
            }
        }
        for (auto& [id, bp] : breakpoints)
            if (bp.Position > p)
                bp.Position += n;
        if (point.Position > p)
            point.Position += n;
        for (auto& [name, at] : named)
            if (at >= p)
                at += n;
    }

    void erase(int64_t s, int64_t e)
    {
        const int64_t d = e - s;
        const std::string old = text;
        text.erase(static_cast<size_t>(s), static_cast<size_t>(d));
        for (auto it = marks.begin(); it != marks.end();) {
            TModelMark& m = it->second;
            const TModelMark was = m;
            if (m.End <= s) {
            } else if (m.Start >= e) {
                m.Start -= d, m.End -= d;
            } else if (m.Start >= s) {
                if (m.End <= e) {
                    freedMarks.insert(it->first);
                    it = marks.erase(it);
                    continue;
                }
                m.Start = s, m.End -= d;
            } else {
                m.End = m.End >= e ? m.End - d : s;
            }
            if (m.Start != was.Start || m.End != was.End)
                changed.insert(it->first);
            ++it;
        }
        const int64_t joined = lineStartIn(text, s);
        auto moveLine = [&](TModelBreakpoint& bp, bool& doomed) {
            doomed = false;
            if (bp.Position > e)
                bp.Position -= d;
            else if (bp.Position >= s) {
                doomed = bp.Position < e && lineEndIn(old, bp.Position) <= e;
                bp.Position = joined;
            }
        };
        for (auto it = breakpoints.begin(); it != breakpoints.end();) {
            bool doomed = false;
            moveLine(it->second, doomed);
            if (doomed) {
                freedBreakpoints.insert(it->first);
                it = breakpoints.erase(it);
            } else {
                ++it;
            }
        }
        bool pointDoomed = false;
        moveLine(point, pointDoomed);
        if (pointDoomed)
            point.Enabled = false;
        for (auto it = named.begin(); it != named.end();) {
            if (it->second > s && it->second < e) {
                freedNames.insert(it->first);
                it = named.erase(it);
                continue;
            }
            if (it->second >= e)
                it->second -= d;
            ++it;
        }
    }

    void clearAll()
    {
        text.clear();
        for (const auto& [id, m] : marks)
            freedMarks.insert(id);
        marks.clear();
        for (const auto& [id, bp] : breakpoints)
            freedBreakpoints.insert(id);
        breakpoints.clear();
        point = {0, false};
        for (const auto& [name, at] : named)
            freedNames.insert(name);
        named.clear();
    }
};

// Short runs with line breaks; now and then, while the document is small, a line beyond the
// row limit, so forced splits (rows that are not lines) meet every rule.
std::string randomText(std::mt19937& rng, int64_t documentSize)
{
    static const char alphabet[] = "ab \rcd\r";
    const int choice = std::uniform_int_distribution<int>(documentSize < 3000 ? 0 : 3, 99)(rng);
    const int length = choice < 3 ? std::uniform_int_distribution<int>(2040, 3000)(rng) : std::uniform_int_distribution<int>(1, choice < 30 ? 40 : 4)(rng);
    std::string text(static_cast<size_t>(length), 'x');
    if (choice >= 3)
        for (char& c : text)
            c = alphabet[std::uniform_int_distribution<int>(0, sizeof alphabet - 2)(rng)];
    return text;
}

// Cuts one line into rows of random lengths, as a re-flow would.
void recutLine(TTextStore& store, std::mt19937& rng)
{
    const int64_t line = std::uniform_int_distribution<int64_t>(0, store.LineCount() - 1)(rng);
    TRowSpot first = store.LineStart(line);
    if (!first.Row)
        return;
    int64_t rows = 0;
    int length = 0;
    for (const TTextRow* row = first.Row; row; row = row->Next) {
        ++rows;
        length += row->Length;
        if (row->EndsLine())
            break;
    }
    if (length > 20000)
        return;
    std::vector<int> lengths;
    while (length > 0) {
        const int piece = std::min(length, std::uniform_int_distribution<int>(1, 30)(rng));
        lengths.push_back(piece);
        length -= piece;
    }
    store.RecutRows(first, rows, lengths);
}

int64_t rowWithBit(const TTextStore& store, int n)
{
    int64_t index = 0;
    for (const TTextRow* row = store.FirstRow(); row; row = row->Next, ++index)
        if (row->RowBits & (1u << n))
            return index;
    return -1;
}

void compare(TTextStore& store, const TMarksModel& model, const TRecordingEvents& events, int step)
{
    SCOPED_TRACE(step);
    ASSERT_EQ(store.check(), "");
    ASSERT_EQ(store.CharCount(), static_cast<int64_t>(model.text.size()));
    TMarkList& marks = *MarksOf(store);
    ASSERT_EQ(marks.check(), "");
    ASSERT_EQ(marks.Count(), model.marks.size());
    for (TMark* mark = marks.FirstMark(); mark; mark = marks.NextMark(*mark)) {
        const TModelMark& expected = model.marks.at(mark->Tag);
        ASSERT_EQ(mark->Start(), expected.Start) << "mark " << mark->Tag;
        ASSERT_EQ(mark->End(), expected.End) << "mark " << mark->Tag;
    }
    ASSERT_EQ(events.changed, model.changed);
    ASSERT_EQ(events.freedMarks, model.freedMarks);
    TSM_Breakpoints& breakpoints = *BreakpointsOf(store);
    ASSERT_EQ(breakpoints.check(), "");
    ASSERT_EQ(breakpoints.Count(), model.breakpoints.size());
    for (TSM_BreakpointData* bp = breakpoints.First(); bp; bp = breakpoints.Next(*bp)) {
        ASSERT_EQ(bp->Position(), model.breakpoints.at(bp->Line).Position) << "breakpoint " << bp->Line;
        ASSERT_EQ(breakpoints.BreakpointAt(bp->Position())->Position(), bp->Position());
    }
    ASSERT_EQ(events.freedBreakpoints, model.freedBreakpoints);
    if (model.hasPoint) {
        const TSM_BreakpointData* point = CodeBreakOf(store)->Point();
        ASSERT_EQ(point->Position(), model.point.Position);
        ASSERT_EQ(point->Enabled(), model.point.Enabled);
    }
    TStoreBookmarks& bookmarks = *BookmarksOf(store);
    ASSERT_EQ(bookmarks.Named.check(), "");
    ASSERT_EQ(bookmarks.Named.Count(), model.named.size());
    for (const auto& [name, at] : model.named) {
        int64_t found = -1;
        ASSERT_TRUE(bookmarks.Named.Find(name, found));
        ASSERT_EQ(found, at) << name;
    }
    ASSERT_EQ(events.freedNames, model.freedNames);
    for (int n = 0; n < 10; ++n) {
        TRowSpot row;
        int column = 0;
        const bool set = bookmarks.Numbered.Get(store, n, row, column);
        const int64_t carrier = rowWithBit(store, n);
        ASSERT_EQ(set, carrier >= 0 && store.BookmarkCols[static_cast<size_t>(n)] != 0) << "bookmark " << n;
        if (set) {
            ASSERT_EQ(row.Index, carrier) << "bookmark " << n;
            ASSERT_EQ(row.Row, store.RowByIndex(carrier).Row);
        }
    }
}

void runModel(const TStoreCapacities& capacities, unsigned seed, int steps)
{
    TTextStore store(capacities);
    TRecordingEvents events;
    TMarksModel model;
    TMarkList& marks = EnsureMarks(store, &events);
    TSM_Breakpoints& breakpoints = EnsureBreakpoints(store, &events);
    TSM_CodeBreak& codeBreak = EnsureCodeBreak(store, &events);
    TStoreBookmarks& bookmarks = EnsureBookmarks(store, &events);
    std::mt19937 rng(seed);
    int32_t nextId = 0;
    auto pick = [&](int64_t high) { return std::uniform_int_distribution<int64_t>(0, std::max<int64_t>(high, 0))(rng); };
    for (int step = 0; step < steps; ++step) {
        events.clear();
        model.changed.clear();
        model.freedMarks.clear();
        model.freedBreakpoints.clear();
        model.freedNames.clear();
        const auto size = static_cast<int64_t>(model.text.size());
        const int choice = std::uniform_int_distribution<int>(0, 999)(rng);
        // Inserting wins until the document is a few thousand characters long.
        if (choice < (size > 3000 ? 250 : 400) || size == 0) {
            const int64_t p = pick(size);
            const std::string text = randomText(rng, size);
            store.InsertText(p, text);
            model.insert(p, text);
        } else if (choice < 700) {
            int64_t s = pick(size);
            int64_t e = std::min(size, s + pick(choice < 640 ? 8 : choice < 695 ? 60 : 800));
            if (choice % 4 == 0) { // whole rows
                s = store.RowAt(s).Start;
                e = store.RowAt(e).Start;
            }
            store.DeleteRange(s, e);
            if (s == 0 && e == size && size > 0)
                model.clearAll();
            else if (e > s)
                model.erase(s, e);
        } else if (choice < 800) {
            const int64_t start = pick(size);
            const int64_t length = choice % 5 == 0 ? 0 : pick(12);
            marks.AddMark(start, length, nextId);
            model.marks[nextId++] = {start, start + length};
        } else if (choice < 830 && !model.marks.empty()) {
            TMark* mark = marks.FirstMark();
            for (int64_t k = pick(static_cast<int64_t>(model.marks.size()) - 1); k > 0; --k)
                mark = marks.NextMark(*mark);
            const int32_t id = mark->Tag;
            if (choice % 3 == 0) {
                marks.DeleteMark(mark);
                model.marks.erase(id);
                model.freedMarks.insert(id);
            } else if (choice % 3 == 1) {
                const int64_t start = pick(size);
                marks.SetMarkStart(*mark, start);
                model.marks[id] = {start, std::max(start, model.marks[id].End)};
            } else {
                const int64_t end = pick(size);
                marks.SetMarkEnd(*mark, end);
                model.marks[id].End = std::max(end, model.marks[id].Start);
            }
        } else if (choice < 880) {
            const int64_t at = pick(size);
            breakpoints.Add(at, nextId, "");
            model.breakpoints[nextId++] = {lineStartIn(model.text, at), true};
        } else if (choice < 890) {
            const int64_t at = pick(size);
            codeBreak.SetPoint(at, 0);
            model.point = {lineStartIn(model.text, at), true};
            model.hasPoint = true;
        } else if (choice < 930) {
            const std::string name = "n" + std::to_string(pick(12));
            const int64_t at = pick(size);
            bookmarks.Named.Set(name, at);
            model.named[name] = at;
        } else if (choice < 980) {
            const int n = static_cast<int>(pick(9));
            bookmarks.Numbered.Set(store, n, pick(store.RowCount()), 1 + static_cast<int>(pick(20)), choice % 2 == 0);
        } else {
            recutLine(store, rng);
        }
        ASSERT_NO_FATAL_FAILURE(compare(store, model, events, step));
    }
}

} // namespace

TEST(MarksRandom, MarksBreakpointsAndBookmarksFollowTheModel)
{
    runModel({}, 20260516u, 3000);
}

TEST(MarksRandom, FollowTheModelAtTinyStoreCapacities)
{
    runModel({2, 3, 7, 3}, 99u, 2000);
}
