#include "build/DownloadCommand.h"

#include "build/BuildPaths.h"
#include "build/CommandTemplate.h"
#include "build/StandardBootloader.h"
#include "build/WindowsCommandLine.h"

#include <array>

namespace {

constexpr std::array<std::pair<BootloaderType, std::string_view>, 4> kKeys = {{
    {BootloaderType::Standard, "STANDARD"},
    {BootloaderType::MELoader, "MELOADER"},
    {BootloaderType::KaltorIr, "KALTOR_IR"},
    {BootloaderType::Other, "OTHER"},
}};

TDownloadPlan launch(std::string program, std::string parameters, LaunchMode mode)
{
    return {DownloadAction::Launch, {std::move(program), std::move(parameters), mode}, {}};
}

TDownloadPlan planStandard(const TDownloadRequest& request)
{
    const std::optional<std::string_view> program = standardBootloaderProgram(request.device);
    if (!program)
        return {DownloadAction::Inform,
                {},
                notSuitableForBootloaderMessage(deviceText(request.device))};
    return launch(request.incDir + std::string(*program), quotedArgument(request.hexFile), LaunchMode::Wait);
}

TDownloadPlan planKaltorIr(const TDownloadRequest& request)
{
    if (!request.kaltorIrInstalled)
        return {DownloadAction::FallBackToStandard, {}, std::string(kKaltorIrMissingMessage)};
    return launch(request.incDir + std::string(kKaltorIrProgram), quotedArgument(request.hexFile),
                  LaunchMode::Wait);
}

TDownloadPlan planUser(const TDownloadRequest& request)
{
    return launch(request.userPath,
                  quotedArgument(request.hexFile) + " " +
                      ExpandCommandTemplate(request.userTemplate, request.hexFile, request.device),
                  LaunchMode::Detached);
}

} // namespace

std::string_view bootloaderTypeKey(BootloaderType type)
{
    for (const auto& [candidate, key] : kKeys) {
        if (candidate == type)
            return key;
    }
    return "STANDARD";
}

std::optional<BootloaderType> bootloaderTypeFromKey(std::string_view key)
{
    for (const auto& [type, candidate] : kKeys) {
        if (candidate == key)
            return type;
    }
    return std::nullopt;
}

TDownloadPlan planDownload(const TDownloadRequest& request)
{
    switch (request.type) {
    case BootloaderType::Standard:
        return planStandard(request);
    case BootloaderType::KaltorIr:
        return planKaltorIr(request);
    case BootloaderType::MELoader:
        return launch(request.meloaderPath, quotedArgument(request.hexFile), LaunchMode::Detached);
    case BootloaderType::Other:
        return planUser(request);
    }
    return planStandard(request);
}
