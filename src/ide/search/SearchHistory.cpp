#include "ide/search/SearchHistory.h"

#include "editor/search/CaseFold.h"
#include "ide/EdPersistent.h"

bool equalIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto& upper = upperCaseTable();
    for (size_t i = 0; i < a.size(); ++i)
        if (upper[static_cast<uint8_t>(a[i])] != upper[static_cast<uint8_t>(b[i])])
            return false;
    return true;
}

TSearchHistory::TSearchHistory(std::vector<std::string> entries)
{
    for (std::string& entry : entries)
        Offer(entry);
}

void TSearchHistory::Load(const TEdPersistent& settings, const std::string& section)
{
    *this = TSearchHistory(settings.ReadList(section, Limit));
}

void TSearchHistory::Save(TEdPersistent& settings, const std::string& section)
{
    if (m_entries.size() > static_cast<size_t>(Limit))
        m_entries.resize(Limit);
    settings.WriteList(section, m_entries, Limit);
}

int TSearchHistory::IndexOf(std::string_view text) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (equalIgnoringCase(m_entries[i], text))
            return static_cast<int>(i);
    return -1;
}

int TSearchHistory::Use(std::string_view text)
{
    if (text.empty())
        return -1;
    const int old = IndexOf(text);
    if (old >= 0)
        m_entries.erase(m_entries.begin() + old);
    m_entries.insert(m_entries.begin(), std::string(text));
    return 0;
}

int TSearchHistory::Offer(std::string_view text)
{
    if (text.empty())
        return -1;
    if (const int old = IndexOf(text); old >= 0)
        return old;
    m_entries.emplace_back(text);
    return static_cast<int>(m_entries.size()) - 1;
}

std::string TSearchHistory::check() const
{
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].empty())
            return "empty entry " + std::to_string(i);
        for (size_t j = 0; j < i; ++j)
            if (equalIgnoringCase(m_entries[i], m_entries[j]))
                return "entries " + std::to_string(j) + " and " + std::to_string(i) + " are equal";
    }
    return {};
}
