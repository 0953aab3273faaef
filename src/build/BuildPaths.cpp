#include "build/BuildPaths.h"

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

// Index of the first character of the file name part.
size_t fileNameStart(std::string_view path)
{
    size_t i = path.size();
    while (i > 0 && !isSeparator(path[i - 1]))
        --i;
    return i;
}

// Index of the extension's dot, or path.size() when there is none.
size_t extensionStart(std::string_view path)
{
    const size_t nameStart = fileNameStart(path);
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < nameStart ? path.size() : dot;
}

} // namespace

std::string ExtractFileName(std::string_view path)
{
    return std::string(path.substr(fileNameStart(path)));
}

std::string ExtractFileExt(std::string_view path)
{
    return std::string(path.substr(extensionStart(path)));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension)
{
    std::string result(path.substr(0, extensionStart(path)));
    result += extension;
    return result;
}

std::string resultFileName(std::string_view sourceShortPath)
{
    return ChangeFileExt(sourceShortPath, ".ZBE");
}

std::string listingFileName(std::string_view sourceShortPath)
{
    return ChangeFileExt(sourceShortPath, ".ASM");
}

std::string hexFileName(std::string_view sourceShortPath)
{
    return ChangeFileExt(sourceShortPath, ".HEX");
}

std::string deviceText(std::string_view device)
{
    return std::string(device.empty() ? kDefaultDevice : device);
}
