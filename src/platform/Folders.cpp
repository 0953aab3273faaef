#include "platform/Folders.h"

#include "platform/FileLookup.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace {

std::string& folderOverride()
{
    static std::string folder;
    return folder;
}

std::string programFolder()
{
    static const std::string folder = [] {
        std::string path(PATH_MAX, '\0');
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length <= 0 || static_cast<size_t>(length) >= path.size())
            return std::string("./");
        path.resize(static_cast<size_t>(length));
        return path.substr(0, path.rfind('/') + 1);
    }();
    return folder;
}

} // namespace

std::string applicationFolder()
{
    const std::string& overridden = folderOverride();
    return overridden.empty() ? programFolder() : overridden;
}

std::string includeFolder()
{
    return withTrailingSlash(resolveIgnoringCase(applicationFolder(), "INC"));
}

void setApplicationFolder(const std::string& folder)
{
    folderOverride() = withTrailingSlash(folder);
}

std::string toLocalPath(const std::string& path)
{
    std::string local = path;
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

std::string withTrailingSlash(const std::string& path)
{
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

std::string ShortPath(const std::string& path)
{
    return path;
}
