// TREParser: the editor's regular expressions. It compiles an expression once per distinct
// text (TReCompiler), keeps the compile error's message number and position, and searches a
// character source forwards or backwards (TReMatcher, with TRePrefilter choosing where to try)
// leaving the positions of the last match for SubMatch and replacement templates.
#pragma once

#include "editor/search/ReMatcher.h"
#include "editor/search/RePrefilter.h"
#include "editor/search/ReProgram.h"
#include "editor/search/SearchErrors.h"
#include "editor/search/SearchFlags.h"
#include "editor/search/TextSource.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TREParser
{
public:
    TREParser();
    // The prefilter's plain search polls through this parser's Poll.
    TREParser(const TREParser&) = delete;
    TREParser& operator=(const TREParser&) = delete;

    // Compiles text unless it equals LastExpression. False on a compile error: ErrorId and
    // ErrorPos tell which and where, LastExpression is cleared and no program is kept.
    bool SetExpression(std::string_view text);
    const std::string& LastExpression() const { return m_lastExpression; }
    int ErrorId() const { return m_errorId; }
    int ErrorPos() const { return m_errorPos; }
    const char* ErrorMessage() const { return MessageOf(m_errorId); }
    // The next sub-expression number: the last compiled expression had GroupCount - 1.
    int GroupCount() const { return m_groupCount; }
    const TReProgram& Program() const { return m_program; }
    const TRePrefilter& Prefilter() const { return m_prefilter; }

    // Tries the program at from, then at each following position through the document end
    // (forwards), or at each position before it down to 0 (backwards; a search from the end
    // starts at the last character). Throws ERegExpError reInvalidParameter without a program,
    // reTooMuchWork past the budget and reSearchInterrupted when Poll answers false.
    bool Search(TTextSource& source, int64_t from, TSearchDirection direction);
    // Tries the program at exactly position.
    bool Match(TTextSource& source, int64_t position);

    // Entry i (below 256) of the last match's positions; ERegExpError reIndexRange otherwise.
    // Entry 0 is the match start, entry PositionCount its end; entries past it are -1.
    int64_t SubMatch(int i) const;
    const std::array<int64_t, kPositionEntries>& Positions() const { return m_positions; }
    int PositionCount() const { return m_positionCount; }
    int64_t MatchStart() const { return m_positions[0]; }
    int64_t MatchEnd() const { return m_positions[static_cast<size_t>(m_positionCount)]; }

    TMatchLimits Limits;
    // Called while a long search runs; answering false stops it (see Search).
    std::function<bool()> Poll;

private:
    bool found();
    void beginSearch();

    std::string m_lastExpression;
    int m_errorId = reNoErrors;
    int m_errorPos = 0;
    int m_groupCount = 1;
    TReProgram m_program;
    int m_counters = 0;
    TRePrefilter m_prefilter;
    TReMatcher m_matcher;
    std::array<int64_t, kPositionEntries> m_positions{}; // -1 past m_positionCount
    int m_positionCount = 0;
};
