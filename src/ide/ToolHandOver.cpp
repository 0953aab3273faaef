// The tool list and the hand-over file, without any window.
#include "ide/ToolHandOver.h"

#include "base/Exception.h"
#include "platform/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::vector<TToolProgram> toolProgramsFromResults(const std::vector<std::string>& lines)
{
    std::vector<TToolProgram> programs;
    for (const std::string& line : lines) {
        const size_t slash = line.find_last_of("/\\");
        const std::string name = slash == std::string::npos ? line : line.substr(slash + 1);
        const size_t dot = name.rfind('.');
        const std::string caption = dot == std::string::npos ? name : name.substr(0, dot);
        if (!caption.empty())
            programs.push_back({caption, name});
    }
    return programs;
}

std::string joinLinesWithCrLf(const std::string& bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16 + 2);
    size_t i = 0;
    while (i < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            text.append(bytes, i, std::string::npos);
            text += "\r\n";
            break;
        }
        text.append(bytes, i, end - i);
        text += "\r\n";
        i = end + 1;
        if (i < bytes.size() && (bytes[i] == '\r' || bytes[i] == '\n') && bytes[i] != bytes[end])
            ++i;
    }
    return text;
}

TResultFileText readResultFile(const std::string& path, long long maxSize)
{
    TResultFileText result;
    std::string bytes;
    try {
        switch (readRegularFile(path, maxSize, bytes)) {
        case TReadResult::Missing:
            return result;
        case TReadResult::Cut:
            result.kind = TResultFileText::Unreadable;
            result.error = Format("\"%s\" is larger than %lld bytes", path.c_str(), maxSize);
            return result;
        case TReadResult::Whole:
            break;
        }
    } catch (const Exception& error) {
        result.kind = TResultFileText::Unreadable;
        result.error = error.Message();
        return result;
    }
    result.kind = TResultFileText::Text;
    result.text = joinLinesWithCrLf(bytes);
    return result;
}

bool emptyResultFile(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = Format("Cannot empty \"%s\". %s", path.c_str(), std::strerror(errno));
        return false;
    }
    if (std::fclose(file) != 0) {
        error = Format("Cannot empty \"%s\". %s", path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}
