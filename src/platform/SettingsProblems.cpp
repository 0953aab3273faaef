#include "platform/SettingsProblems.h"

#include "base/Exception.h"
#include "platform/MessageBoxes.h"

#include <set>

namespace {

// The files whose last access failed and was reported.
std::set<std::string>& reportedFiles()
{
    static std::set<std::string> files;
    return files;
}

} // namespace

void reportSettingsProblem(const std::string& fileName, const std::string& message)
{
    if (!reportedFiles().insert(fileName).second)
        return;
    messageBoxes().show(TMessageKind::Error, "Error", message, TMessageButtons::Ok);
}

bool trySettingsAccess(const std::string& fileName, const std::function<void()>& access)
{
    try {
        access();
    } catch (const Exception& error) {
        reportSettingsProblem(fileName, error.Message());
        return false;
    }
    reportedFiles().erase(fileName);
    return true;
}
