#include "build/CompileResult.h"

#include "base/Stream.h"
#include "build/TextLines.h"

#include <filesystem>

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
        result.device = takeField(lines[0], start);
        result.codeSize = takeField(lines[0], start);
        result.ramSize = takeField(lines[0], start);
    }
    result.reportLines.assign(std::make_move_iterator(lines.begin() + 1),
                              std::make_move_iterator(lines.end()));
    return result;
}

std::optional<TCompileResult> readCompileResultFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    TFileStream file(path, FileMode::OpenRead);
    TMemoryStream bytes;
    bytes.CopyFrom(file, 0);
    return parseCompileResult(bytes.AsString());
}
