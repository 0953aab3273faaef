#include "editor/search/ReMatcher.h"

#include "editor/search/SearchErrors.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBreak = 13; // the stored line break

// Whether the simple node at `node` takes character c (c >= 0).
inline bool simpleTakes(const uint8_t* p, size_t node, int c)
{
    switch (p[node]) {
    case opANY:
        return c != kBreak;
    case opANYOF:
        return p[node + kNodeHeader + static_cast<size_t>(c)] != 0;
    case opANYBUT:
        return p[node + kNodeHeader + static_cast<size_t>(c)] == 0;
    case opEXACTLY:
        return p[node + kNodeHeader] == c;
    default:
        return false;
    }
}

} // namespace

void TReMatcher::SetProgram(const TReProgram* program, int counters)
{
    m_program = program;
    m_counters.assign(static_cast<size_t>(std::max(counters, 0)), 0);
}

void TReMatcher::BeginSearch(const TMatchLimits& limits, const std::function<bool()>* poll)
{
    m_limits = limits;
    m_poll = poll;
    m_steps = 0;
    m_allowance = limits.BaseSteps;
    m_nextPoll = limits.PollSteps;
    m_nextCheck = std::min(m_allowance + 1, m_nextPoll);
}

void TReMatcher::AllowFor(int64_t chars)
{
    m_allowance = m_limits.BaseSteps + m_limits.StepsPerChar * std::max<int64_t>(chars, 0);
    m_nextCheck = std::min(m_allowance + 1, m_nextPoll);
}

void TReMatcher::checkpoint(TTextReader& reader)
{
    if (m_steps > m_allowance)
        throw ERegExpError(reTooMuchWork);
    if (m_steps >= m_nextPoll) {
        m_nextPoll = m_steps + m_limits.PollSteps;
        if (m_poll && *m_poll) {
            if (!(*m_poll)())
                throw ERegExpError(reSearchInterrupted);
            reader.Source().Invalidate();
            reader.Forget();
        }
    }
    m_nextCheck = std::min(m_allowance + 1, m_nextPoll);
}

void TReMatcher::push(TFrameKind kind, size_t node, int64_t pos, int64_t value)
{
    if (m_stack.size() >= m_limits.MaxStackEntries)
        throw ERegExpError(reTooMuchWork);
    m_stack.push_back({kind, static_cast<uint32_t>(node), pos, value});
}

void TReMatcher::record(int64_t position)
{
    if (m_count > kLastRecordedEntry)
        return;
    trail(fkPosition, static_cast<size_t>(m_count), m_positions[static_cast<size_t>(m_count)]);
    trail(fkCount, 0, m_count);
    m_positions[static_cast<size_t>(m_count)] = position;
    ++m_count;
}

bool TReMatcher::exactly(TTextReader& reader, size_t node, int64_t& pos)
{
    const auto* text = reinterpret_cast<const char*>(m_program->data() + node + kNodeHeader);
    if (text[0] != 0 && text[1] == 0) { // a single literal, the most common node
        if (reader.At(pos) != static_cast<unsigned char>(text[0]))
            return false;
        record(pos);
        ++pos;
        return true;
    }
    const size_t n = std::strlen(text);
    if (n > 0 && reader.At(pos) >= 0) {
        const TTextSpan& span = reader.SpanAt(pos);
        if (pos + static_cast<int64_t>(n) <= span.End) {
            if (std::memcmp(span.Data + (pos - span.Start), text, n) != 0)
                return false;
        } else {
            for (size_t i = 0; i < n; ++i)
                if (reader.At(pos + static_cast<int64_t>(i)) != static_cast<unsigned char>(text[i]))
                    return false;
        }
    } else if (n > 0) {
        return false;
    }
    record(pos);
    pos += static_cast<int64_t>(n);
    return true;
}

int64_t TReMatcher::runLength(TTextReader& reader, size_t node, int64_t pos)
{
    const uint8_t* p = m_program->data();
    int64_t q = pos;
    while (q < reader.Length()) {
        const TTextSpan& span = reader.SpanAt(q);
        const auto* data = reinterpret_cast<const uint8_t*>(span.Data);
        int64_t i = q - span.Start;
        const int64_t end = span.End - span.Start;
        switch (p[node]) {
        case opANY:
            while (i < end && data[i] != kBreak)
                ++i;
            break;
        case opANYOF: {
            const uint8_t* table = p + node + kNodeHeader;
            while (i < end && table[data[i]])
                ++i;
            break;
        }
        case opANYBUT: {
            const uint8_t* table = p + node + kNodeHeader;
            while (i < end && !table[data[i]])
                ++i;
            break;
        }
        default: {
            const uint8_t c = p[node + kNodeHeader];
            while (i < end && data[i] == c)
                ++i;
            break;
        }
        }
        q = span.Start + i;
        if (i < end)
            break;
    }
    m_steps += q - pos;
    return q - pos;
}

// The largest count below `taken`, and at least the run's minimum, after which the next
// node's first literal follows; -1 when none. A run followed by no literal backs off by one.
int64_t TReMatcher::backOff(TTextReader& reader, size_t runNode, int64_t start, int64_t taken)
{
    const uint8_t* p = m_program->data();
    const int64_t min = p[runNode] == opPLUS ? 1 : 0;
    const size_t next = nextOf(p, runNode);
    const int literal = p[next] == opEXACTLY ? p[next + kNodeHeader] : 0;
    int64_t k = taken;
    if (literal == 0)
        return k >= min ? k : -1;
    while (k >= min && reader.At(start + k) != literal) {
        --k;
        ++m_steps;
    }
    return k >= min ? k : -1;
}

bool TReMatcher::startRun(TTextReader& reader, size_t& pc, int64_t& pos)
{
    const uint8_t* p = m_program->data();
    const int64_t min = p[pc] == opPLUS ? 1 : 0;
    const int64_t run = runLength(reader, pc + kNodeHeader, pos);
    if (run < min)
        return false;
    record(pos);
    const int64_t k = backOff(reader, pc, pos, run);
    if (k < 0)
        return false;
    if (k > min) {
        push(fkRun, pc, pos, k);
        ++m_choices;
    }
    pc = nextOf(p, pc);
    pos += k;
    return true;
}

bool TReMatcher::backtrack(TTextReader& reader, size_t& pc, int64_t& pos)
{
    while (!m_stack.empty()) {
        TFrame& frame = m_stack.back();
        switch (frame.Kind) {
        case fkCount:
            m_count = static_cast<int>(frame.Value);
            break;
        case fkGroup:
            m_groupStart[frame.Node] = static_cast<int>(frame.Value);
            break;
        case fkCounter:
            m_counters[frame.Node] = static_cast<uint32_t>(frame.Value);
            break;
        case fkPosition:
            m_positions[frame.Node] = frame.Value;
            break;
        case fkChoice:
            pc = frame.Node;
            pos = frame.Pos;
            m_stack.pop_back();
            --m_choices;
            return true;
        case fkRun: {
            const int64_t min = (*m_program)[frame.Node] == opPLUS ? 1 : 0;
            const int64_t k =
                frame.Value > min ? backOff(reader, frame.Node, frame.Pos, frame.Value - 1) : -1;
            ++m_steps;
            if (k < 0)
                break;
            pc = nextOf(m_program->data(), frame.Node);
            pos = frame.Pos + k;
            if (k > min) {
                frame.Value = k;
            } else {
                m_stack.pop_back();
                --m_choices;
            }
            return true;
        }
        }
        if (frame.Kind == fkRun)
            --m_choices;
        m_stack.pop_back();
    }
    return false;
}

bool TReMatcher::MatchAt(TTextReader& reader, int64_t position)
{
    const uint8_t* p = m_program->data();
    m_count = 0;
    m_stack.clear();
    m_choices = 0;
    size_t pc = 1;
    int64_t pos = position;
    for (;;) {
        if (++m_steps >= m_nextCheck)
            checkpoint(reader);
        bool ok = true;
        const uint8_t op = p[pc];
        switch (op) {
        case opEND:
            m_positions[static_cast<size_t>(std::min(m_count, kLastRecordedEntry + 1))] = pos;
            m_count = std::min(m_count, kLastRecordedEntry + 1);
            m_end = pos;
            return true;
        case opBOL:
            // A line starts at the document start and after a line break; at a line break the
            // break itself is stepped over, so a match found from before it starts after it.
            if (pos == 0 || reader.At(pos - 1) == kBreak) {
            } else if (reader.At(pos) == kBreak) {
                ++pos;
            } else {
                ok = false;
            }
            break;
        case opEOL:
            ok = pos == reader.Length() || reader.At(pos) == kBreak;
            break;
        case opANY:
        case opANYOF:
        case opANYBUT: {
            const int c = reader.At(pos);
            ok = c >= 0 && simpleTakes(p, pc, c);
            if (ok) {
                record(pos);
                ++pos;
            }
            break;
        }
        case opEXACTLY:
            ok = exactly(reader, pc, pos);
            break;
        case opBRANCH: {
            const size_t next = nextOf(p, pc);
            if (p[next] == opBRANCH) {
                push(fkChoice, next, pos, 0);
                ++m_choices;
            }
            pc += kNodeHeader;
            continue;
        }
        case opBACK:
            pc = nextOf(p, pc);
            continue;
        case opNOTHING:
            break;
        case opSTAR:
        case opPLUS:
            ok = startRun(reader, pc, pos);
            if (ok)
                continue;
            break;
        case opCSET: {
            const uint8_t k = p[pc + kNodeHeader];
            trail(fkCounter, k, m_counters[k]);
            m_counters[k] = word16(p + pc + kNodeHeader + 1);
            break;
        }
        case opCINC: {
            const uint8_t k = p[pc + kNodeHeader];
            trail(fkCounter, k, m_counters[k]);
            ++m_counters[k];
            break;
        }
        case opCLOOP: {
            const uint8_t k = p[pc + kNodeHeader];
            const uint32_t min = word16(p + pc + kNodeHeader + 1);
            const uint32_t max = word16(p + pc + kNodeHeader + 3);
            const uint32_t done = m_counters[k];
            const size_t body = pc + kNodeHeader + 5;
            if (done < min) {
                pc = body;
                continue;
            }
            if (max == kUnbounded || done < max) {
                push(fkChoice, nextOf(p, pc), pos, 0);
                ++m_choices;
                pc = body;
                continue;
            }
            break;
        }
        default:
            if (isOpen(op)) {
                const int group = op - opOPEN;
                trail(fkGroup, static_cast<size_t>(group),
                      m_groupStart[static_cast<size_t>(group)]);
                m_groupStart[static_cast<size_t>(group)] =
                    std::min(m_count, kLastRecordedEntry + 1);
                record(pos);
            } else if (isClose(op)) {
                trail(fkCount, 0, m_count);
                m_count = std::min(m_groupStart[static_cast<size_t>(op - opCLOSE)] + 1,
                                   kLastRecordedEntry + 1);
            } else {
                ok = false;
            }
            break;
        }
        if (!ok) {
            if (!backtrack(reader, pc, pos))
                return false;
            continue;
        }
        pc = nextOf(p, pc);
    }
}
