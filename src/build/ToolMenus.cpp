#include "build/ToolMenus.h"

std::string_view TProgrammerMenu::choose(ProgrammerType type)
{
    m_checked = type;
    return programmerTypeKey(type);
}

void TProgrammerMenu::applyStoredType(std::string_view key)
{
    if (const std::optional<ProgrammerType> type = programmerTypeFromKey(key))
        m_checked = *type;
}

void TBootloaderMenu::checkOnly(BootloaderType type)
{
    for (size_t i = 0; i < m_checked.size(); ++i) {
        if (i != index(BootloaderType::KaltorIr) || m_kaltorIrAvailable)
            m_checked[i] = i == index(type);
    }
}

std::optional<std::string_view> TBootloaderMenu::choose(BootloaderType type)
{
    if (type == BootloaderType::KaltorIr && !m_kaltorIrAvailable)
        return std::nullopt;
    checkOnly(type);
    return bootloaderTypeKey(type);
}

void TBootloaderMenu::applyStoredType(std::string_view key)
{
    if (const std::optional<BootloaderType> type = bootloaderTypeFromKey(key))
        checkOnly(*type);
}

BootloaderType TBootloaderMenu::downloadType() const
{
    for (BootloaderType type : {BootloaderType::Standard, BootloaderType::MELoader,
                                BootloaderType::KaltorIr, BootloaderType::Other}) {
        if (isChecked(type))
            return type;
    }
    return BootloaderType::KaltorIr;
}

std::string_view TBootloaderMenu::fallBackToStandard()
{
    m_checked[index(BootloaderType::KaltorIr)] = false;
    m_kaltorIrAvailable = false;
    checkOnly(BootloaderType::Standard);
    return bootloaderTypeKey(BootloaderType::Standard);
}

bool TBootloaderMenu::check() const
{
    int checkedCount = 0;
    for (bool checked : m_checked)
        checkedCount += checked ? 1 : 0;
    return checkedCount <= 1 && (m_kaltorIrAvailable || !isChecked(BootloaderType::KaltorIr));
}
