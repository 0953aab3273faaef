#include "platform/FileLookup.h"

#include "platform/Folders.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};
using FolderHandle = std::unique_ptr<DIR, FolderCloser>;

// The entry of folder spelled like name in some letter case; empty when there is none.
std::string findSpelling(const std::string& folder, std::string_view name)
{
    FolderHandle handle(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!handle)
        return {};
    std::string best;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string_view candidate = entry->d_name;
        if (equalIgnoringCase(candidate, name) && (best.empty() || candidate < best))
            best = candidate;
    }
    return best;
}

std::vector<std::string> splitComponents(const std::string& relative)
{
    std::vector<std::string> components;
    std::string current;
    for (const char c : toLocalPath(relative)) {
        if (c != '/') {
            current += c;
        } else if (!current.empty()) {
            components.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty())
        components.push_back(std::move(current));
    return components;
}

} // namespace

std::string resolveIgnoringCase(const std::string& folder, const std::string& relative)
{
    std::string path = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    if (path.empty() && toLocalPath(relative).starts_with('/'))
        path = "/";
    bool found = true;
    const std::vector<std::string> components = splitComponents(relative);
    for (size_t i = 0; i < components.size(); ++i) {
        const std::string& component = components[i];
        if (found && !exists(path + component) && component != "." && component != "..") {
            const std::string spelling = findSpelling(path, component);
            found = !spelling.empty();
            path += found ? spelling : component;
        } else {
            path += component;
        }
        if (i + 1 < components.size())
            path += '/';
    }
    return path;
}

bool matchesWildcard(std::string_view name, std::string_view pattern)
{
    if (pattern == "*.*")
        pattern = "*";
    // Greedy matching that backtracks only to the last '*': linear in practice, never
    // exponential, whatever the pattern.
    size_t n = 0, p = 0;
    size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<TFolderEntry> listFolder(const std::string& folder, std::string_view pattern, EntryKind kind)
{
    std::vector<TFolderEntry> entries;
    const std::string prefix = withTrailingSlash(folder.empty() ? std::string(".") : folder);
    FolderHandle handle(::opendir(prefix.c_str()));
    if (!handle)
        return entries;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !matchesWildcard(name, pattern))
            continue;
        const std::string path = prefix + std::string(name);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0)
            continue;
        const bool isFolder = S_ISDIR(info.st_mode);
        if ((kind == EntryKind::Files && (isFolder || !S_ISREG(info.st_mode))) || (kind == EntryKind::Folders && !isFolder))
            continue;
        TFolderEntry found;
        found.name = name;
        found.isFolder = isFolder;
        found.isReadOnly = (info.st_mode & 0222) == 0;
        found.isHidden = name.front() == '.';
        found.size = isFolder ? 0 : static_cast<int64_t>(info.st_size);
        found.modified = static_cast<int64_t>(info.st_mtime);
        entries.push_back(std::move(found));
    }
    return entries;
}

std::vector<std::string> matchingFileNames(const std::string& folder, std::string_view pattern)
{
    std::vector<std::string> names;
    for (TFolderEntry& entry : listFolder(folder, pattern, EntryKind::Files))
        names.push_back(std::move(entry.name));
    return names;
}
