#include "build/StandardBootloader.h"

#include "build/BuildPaths.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 7> kBootloadDevices = {
    "16F870", "16F871", "16F872", "16F873", "16F874", "16F876", "16F877",
};

constexpr std::array<std::string_view, 37> kBootloadADevices = {
    "16F818",  "16F819",  "16F870A", "16F871A", "16F872A", "16F873A", "16F874A", "16F876A",
    "16F877A", "18F1220", "18F1320", "18F2220", "18F2320", "18F242",  "18F248",  "18F252",
    "18F258",  "18F442",  "18F448",  "18F452",  "18F458",  "18F2439", "18F2539", "18F4220",
    "18F4320", "18F4439", "18F4539", "18F6520", "18F6585", "18F6620", "18F6680", "18F6720",
    "18F8520", "18F8585", "18F8620", "18F8680", "18F8720",
};

template <size_t N>
bool listed(const std::array<std::string_view, N>& devices, std::string_view device)
{
    return std::find(devices.begin(), devices.end(), device) != devices.end();
}

} // namespace

std::optional<std::string_view> standardBootloaderProgram(std::string_view device)
{
    if (listed(kBootloadDevices, device))
        return "BOOTLOAD.EXE";
    if (listed(kBootloadADevices, device))
        return "BOOTLOAD_A.EXE";
    return std::nullopt;
}

std::string notSuitableForBootloaderMessage(std::string_view deviceText)
{
    const std::string tail = "\rIs not suitable for use with the Bootloader";
    if (deviceText == kDefaultDevice)
        return "Either the compilation failed.\rOr the PICmicro Device " +
               std::string(kDefaultDevice) + tail;
    return "PICmicro Device " + std::string(deviceText) + tail;
}
