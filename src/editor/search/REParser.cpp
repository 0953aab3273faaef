#include "editor/search/REParser.h"

#include "editor/search/ReCompiler.h"

#include <algorithm>

TREParser::TREParser()
{
    m_positions.fill(-1);
    m_prefilter.Plain().Poll = [this] { return !Poll || Poll(); };
}

bool TREParser::SetExpression(std::string_view text)
{
    if (!m_program.empty() && text == m_lastExpression)
        return true;
    TReCompileResult result = CompileExpression(text);
    m_errorId = result.ErrorId;
    m_errorPos = result.ErrorPos;
    if (!result.Ok) {
        m_lastExpression.clear();
        m_program.clear();
        return false;
    }
    m_lastExpression = std::string(text);
    m_program = std::move(result.Program);
    m_counters = result.Counters;
    m_groupCount = result.Groups + 1;
    m_matcher.SetProgram(&m_program, m_counters);
    m_prefilter.Build(m_program);
    return true;
}

void TREParser::beginSearch()
{
    if (m_program.empty())
        throw ERegExpError(reInvalidParameter);
    m_matcher.BeginSearch(Limits, &Poll);
}

bool TREParser::found()
{
    // Only the entries this match or the last one set are written: a match usually has a few.
    const int count = m_matcher.PositionCount();
    const auto& positions = m_matcher.Positions();
    std::copy(positions.begin(), positions.begin() + count + 1, m_positions.begin());
    if (m_positionCount > count)
        std::fill(m_positions.begin() + count + 1, m_positions.begin() + m_positionCount + 1, -1);
    m_positionCount = count;
    return true;
}

bool TREParser::Match(TTextSource& source, int64_t position)
{
    beginSearch();
    TTextReader reader(source);
    return m_matcher.MatchAt(reader, position) && found();
}

bool TREParser::Search(TTextSource& source, int64_t from, TSearchDirection direction)
{
    beginSearch();
    TTextReader reader(source);
    const int64_t length = reader.Length();
    if (direction == TSearchDirection::Forward) {
        for (int64_t p = std::clamp<int64_t>(from, 0, length); p <= length;) {
            const int64_t candidate = m_prefilter.Next(reader, p);
            if (candidate < 0)
                return false;
            m_matcher.AllowFor(candidate - from + 1);
            if (m_matcher.MatchAt(reader, candidate))
                return found();
            p = candidate + 1;
        }
        return false;
    }
    if (length == 0 || from < 0)
        return false;
    const int64_t start = std::min(from, length - 1);
    for (int64_t p = start; p >= 0;) {
        const int64_t candidate = m_prefilter.Prev(reader, p);
        if (candidate < 0)
            return false;
        m_matcher.AllowFor(start - candidate + 1);
        if (m_matcher.MatchAt(reader, candidate))
            return found();
        p = candidate - 1;
    }
    return false;
}

int64_t TREParser::SubMatch(int i) const
{
    if (i < 0 || i >= kPositionEntries)
        throw ERegExpError(reIndexRange);
    return m_positions[static_cast<size_t>(i)];
}
