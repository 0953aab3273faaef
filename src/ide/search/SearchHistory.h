// A find or replacement history as the search dialogs keep it: distinct strings, newest
// first, compared without regard to letter case (Windows-1252 folding, as the searches fold).
// Invariants: no entry is empty; no two entries are equal ignoring case; once written back,
// at most Limit entries remain (the oldest drop off the end).
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TEdPersistent;

class TSearchHistory
{
public:
    static constexpr int Limit = 20;

    TSearchHistory() = default;
    explicit TSearchHistory(std::vector<std::string> entries);

    // Reads "[section]" of the settings file (section named without brackets); duplicates and empty lines are dropped.
    void Load(const TEdPersistent& settings, const std::string& section);
    // Writes the newest Limit entries to "[section]" and drops the rest here too. Throws what
    // TEdPersistent::WriteList throws when the file cannot be written.
    void Save(TEdPersistent& settings, const std::string& section);

    const std::vector<std::string>& Entries() const { return m_entries; }
    int IndexOf(std::string_view text) const; // ignoring case; -1 when absent
    bool Contains(std::string_view text) const { return IndexOf(text) >= 0; }

    // A text that was just searched for becomes the newest entry; an entry equal to it
    // (ignoring case) leaves its older place, so it is not dropped as the oldest later on.
    // Answers the index of the entry: always 0, or -1 for an empty text.
    int Use(std::string_view text);
    // A text offered when a dialog opens: added as the oldest entry when absent. Answers the
    // index of the entry holding it, -1 for an empty text.
    int Offer(std::string_view text);

    std::string check() const;

private:
    std::vector<std::string> m_entries;
};

// Whether two texts are equal ignoring the case of letters.
bool equalIgnoringCase(std::string_view a, std::string_view b);
