#include "build/CompileResult.h"

#include "build/ShownText.h"
#include "build/TextLines.h"
#include "platform/FileAccess.h"

namespace {

// The text of line from position start up to the next comma or the end of the line; start
// moves past that comma (or to the end).
std::string takeField(std::string_view line, size_t& start)
{
    if (start >= line.size())
        return {};
    const size_t comma = line.find(',', start);
    const size_t end = comma == std::string_view::npos ? line.size() : comma;
    std::string field(line.substr(start, end - start));
    start = comma == std::string_view::npos ? line.size() : comma + 1;
    return field;
}

CompileVerdict classify(std::string_view firstLine)
{
    if (firstLine == "ERROR" || firstLine == "ASSEMBLER ERRORS")
        return CompileVerdict::Failed;
    if (!firstLine.empty() && (firstLine[0] == '1' || firstLine[0] == 'R'))
        return CompileVerdict::Succeeded;
    return CompileVerdict::Neither;
}

} // namespace

std::string TCompileResult::devicePanel() const
{
    return verdict == CompileVerdict::Succeeded ? "DEVICE " + device : std::string();
}

std::string TCompileResult::codePanel() const
{
    return verdict == CompileVerdict::Succeeded ? "CODE " + codeSize : std::string();
}

std::string TCompileResult::ramPanel() const
{
    return verdict == CompileVerdict::Succeeded ? "RAM " + ramSize : std::string();
}

bool TCompileResult::check() const
{
    if (verdict == CompileVerdict::Succeeded)
        return !device.empty();
    return device.empty() && codeSize.empty() && ramSize.empty();
}

TCompileResult parseCompileResult(std::string_view bytes)
{
    return parseCompileResultLines(splitTextLines(bytes));
}

TCompileResult parseCompileResultLines(std::vector<std::string> lines)
{
    TCompileResult result;
    if (lines.empty())
        return result;
    result.verdict = classify(lines[0]);
    if (result.verdict == CompileVerdict::Succeeded) {
        size_t start = 0;
        result.device = shownText(takeField(lines[0], start), kMaxResultFieldLength);
        result.codeSize = shownText(takeField(lines[0], start), kMaxResultFieldLength);
        result.ramSize = shownText(takeField(lines[0], start), kMaxResultFieldLength);
    }
    result.reportLines.reserve(lines.size() - 1);
    for (size_t i = 1; i < lines.size(); ++i)
        result.reportLines.push_back(shownText(lines[i], kMaxReportLineLength, TabHandling::Keep));
    return result;
}

std::optional<TCompileResult> readCompileResultFile(const std::string& path)
{
    // A folder or FIFO in the result's place is no result, as a missing file is.
    if (!isRegularFile(path))
        return std::nullopt;
    std::string bytes;
    const TReadResult read = readRegularFile(path, kMaxResultFileSize, bytes);
    if (read == TReadResult::Missing)
        return std::nullopt;
    TCompileResult result = parseCompileResult(bytes);
    if (read == TReadResult::Cut)
        result.reportLines.push_back("... The report is longer than 1 MB; the rest is not shown.");
    return result;
}
