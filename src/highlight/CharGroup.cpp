#include "highlight/CharGroup.h"

#include "base/Exception.h"
#include "highlight/ParserErrors.h"

TSM_CharGroup::TSM_CharGroup(const ParserStateSet& chars, bool negated)
    : m_chars(chars), m_negated(negated), m_lowest(chars.first()), m_highest(chars.last())
{
}

std::string TSM_CharGroupManager::keyOf(const TSM_CharGroup& group)
{
    std::string key(group.chars().bytes().begin(), group.chars().bytes().end());
    key.push_back(group.negated() ? '\1' : '\0');
    for (const CharRange& range : group.ranges()) {
        key.push_back(static_cast<char>(range.low));
        key.push_back(static_cast<char>(range.low >> 8));
        key.push_back(static_cast<char>(range.high));
        key.push_back(static_cast<char>(range.high >> 8));
    }
    return key;
}

uint16_t TSM_CharGroupManager::registerGroup(const TSM_CharGroup& group)
{
    const std::string key = keyOf(group);
    const auto found = m_index.find(key);
    if (found != m_index.end())
        return found->second;
    if (m_groups.size() >= kMaxGroups)
        throw ESourceMemo(Format("Too many character groups (%zu)", m_groups.size()));
    const auto id = static_cast<uint16_t>(m_groups.size());
    m_groups.push_back(group);
    m_index.emplace(key, id);
    return id;
}

const TSM_CharGroup& TSM_CharGroupManager::group(int id) const
{
    if (id < 0 || static_cast<size_t>(id) >= m_groups.size())
        throw ESourceMemo(Format("Invalid Set ID (%d)", id));
    return m_groups[static_cast<size_t>(id)];
}

void TSM_CharGroupManager::clear()
{
    m_groups.clear();
    m_index.clear();
}

bool TSM_CharGroupManager::check() const
{
    if (m_index.size() != m_groups.size() || m_groups.size() > kMaxGroups)
        return false;
    for (size_t i = 0; i < m_groups.size(); ++i) {
        const auto found = m_index.find(keyOf(m_groups[i]));
        if (found == m_index.end() || found->second != i)
            return false;
        if (m_groups[i].lowest() != m_groups[i].chars().first() || m_groups[i].highest() != m_groups[i].chars().last())
            return false;
    }
    return true;
}
