// The radio items of the Options menu's "Choose Programmer..." and "Choose Bootloader" groups.
// Invariants: exactly one programmer item is checked; at most one bootloader item is checked,
// and the KALTOR IR item is checked only while it is available (its program was found, so the
// item is shown and enabled). A click and a refresh from the stored TYPE check one item and
// uncheck the others, but leave the KALTOR IR item alone while it is unavailable.
#pragma once

#include "build/DownloadCommand.h"
#include "build/ProgramCommand.h"

#include <array>
#include <optional>
#include <string_view>

class TProgrammerMenu
{
public:
    ProgrammerType checked() const { return m_checked; }
    // A click: returns the [PROGRAMMER] TYPE value to write.
    std::string_view choose(ProgrammerType type);
    // The refresh from [PROGRAMMER] TYPE; any other value changes nothing.
    void applyStoredType(std::string_view key);

private:
    ProgrammerType m_checked = ProgrammerType::Epic;
};

class TBootloaderMenu
{
public:
    bool isChecked(BootloaderType type) const { return m_checked[index(type)]; }
    bool kaltorIrAvailable() const { return m_kaltorIrAvailable; }
    // The first activation found KALTIR_BOOT.EXE: the item is shown and enabled.
    void makeKaltorIrAvailable() { m_kaltorIrAvailable = true; }

    // A click on an item: returns the [BOOTLOADER] TYPE value to write; nothing when the item
    // cannot be clicked (KALTOR IR while unavailable).
    std::optional<std::string_view> choose(BootloaderType type);
    // The refresh from [BOOTLOADER] TYPE; any other value changes nothing. A stored "KALTOR_IR"
    // while the item is unavailable leaves every item unchecked.
    void applyStoredType(std::string_view key);
    // The kind Download uses: the checked item's. With nothing checked (a stored "KALTOR_IR"
    // whose program is absent) it is KALTOR IR, so that the download takes the fallback to
    // Standard with its message instead of silently doing nothing.
    BootloaderType downloadType() const;
    // KALTIR_BOOT.EXE has gone: the item is unchecked, hidden and disabled and Standard is
    // chosen; returns the TYPE value to write ("STANDARD").
    std::string_view fallBackToStandard();
    bool check() const;

private:
    static size_t index(BootloaderType type) { return static_cast<size_t>(type); }
    void checkOnly(BootloaderType type);

    std::array<bool, 4> m_checked = {true, false, false, false}; // in BootloaderType order
    bool m_kaltorIrAvailable = false;
};
