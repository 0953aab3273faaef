// The compiler's verdict as read from its result file (".ZBE"): line 1 decides failure, success
// or neither; lines 2 to the end are the report for the user.
// Invariant: device, code and RAM sizes are empty unless the verdict is Succeeded. Every text
// is as the widgets may show it: fields at most kMaxResultFieldLength bytes, report lines at
// most kMaxReportLineLength (both with "..." when cut), control bytes shown as ".".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class CompileVerdict
{
    Neither,   // line 1 is anything else, or the file is empty
    Failed,    // line 1 is exactly "ERROR" or "ASSEMBLER ERRORS"
    Succeeded, // line 1 starts with "1" or "R": the summary "device,code,ram,"
};

inline constexpr size_t kMaxResultFieldLength = 32;
inline constexpr size_t kMaxReportLineLength = 1000;
// A compiler's report is a few kilobytes; a larger result file is read this far.
inline constexpr long long kMaxResultFileSize = 1024 * 1024;

struct TCompileResult
{
    CompileVerdict verdict = CompileVerdict::Neither;
    std::string device;
    std::string codeSize;
    std::string ramSize;
    std::vector<std::string> reportLines; // lines 2 to the end, in order

    bool compileFailed() const { return verdict == CompileVerdict::Failed; }
    // Texts of status panels 2 to 4: "DEVICE x", "CODE x", "RAM x" on success, else empty.
    std::string devicePanel() const;
    std::string codePanel() const;
    std::string ramPanel() const;
    bool check() const;
};

// Reads the bytes of a result file; never fails, whatever the bytes.
TCompileResult parseCompileResult(std::string_view bytes);
// The same for a file already split into lines.
TCompileResult parseCompileResultLines(std::vector<std::string> lines);

// Reads the result file at path; nothing when no regular file is there. Of a file larger than
// kMaxResultFileSize the start is read, and the report ends with a line saying so. A file that
// exists but cannot be read raises EFOpenError, which the caller shows as an error.
std::optional<TCompileResult> readCompileResultFile(const std::string& path);
