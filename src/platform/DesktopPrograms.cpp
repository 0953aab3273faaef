// Looking for desktop programs along the PATH, as a shell would.
#include "platform/DesktopPrograms.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::string> pathFolders(const std::string& searchPath)
{
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= searchPath.size()) {
        const size_t end = std::min(searchPath.find(':', start), searchPath.size());
        // An empty entry means the current folder, which is not where desktop programs live.
        if (end > start)
            folders.push_back(searchPath.substr(start, end - start));
        start = end + 1;
    }
    return folders;
}

} // namespace

const std::vector<std::string>& calculatorCandidates()
{
    static const std::vector<std::string> names = {"gnome-calculator", "kcalc", "mate-calc", "galculator",
                                                   "qalculate-gtk", "qalculate-qt", "speedcrunch", "xcalc"};
    return names;
}

std::string findCalculator(const std::string& searchPath)
{
    const std::vector<std::string> folders = pathFolders(searchPath);
    for (const std::string& name : calculatorCandidates()) {
        for (const std::string& folder : folders) {
            const std::string path = folder + (folder.back() == '/' ? "" : "/") + name;
            if (isExecutableFile(path))
                return path;
        }
    }
    return {};
}

std::string findCalculator()
{
    const char* path = std::getenv("PATH");
    return findCalculator(path ? path : "/usr/local/bin:/usr/bin:/bin");
}

std::string calculatorCandidateList()
{
    std::string list;
    for (const std::string& name : calculatorCandidates())
        list += (list.empty() ? "" : ", ") + name;
    return list;
}
