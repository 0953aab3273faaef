// The key store: prefix matching, conflicts and their messages, reverse lookup, and a seeded
// random run against a plain reference model.
#include "base/Stream.h"
#include "editor/keys/DefaultKeyMap.h"
#include "editor/keys/KeyErrors.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace {

constexpr TShortCut C = 0x4000, S = 0x2000, A = 0x8000;

std::vector<uint8_t> savedBytes(const TKeyboardActionContoller& map)
{
    TMemoryStream stream;
    map.SaveToStream(stream);
    return stream.Bytes();
}

std::string conflictMessage(TKeyboardActionContoller& map, TShortCut first, TShortCut second,
                            int32_t command)
{
    const std::vector<uint8_t> before = savedBytes(map);
    std::string message;
    try {
        map.Bind(first, second, command);
    } catch (const EAmbigiousKeyPair& e) {
        message = e.Message();
    }
    map.check();
    EXPECT_EQ(savedBytes(map), before) << "a refused binding changed the map";
    return message;
}

} // namespace

TEST(KeyStoreMatching, PrefixThenSecondKeyWithOrWithoutModifiers)
{
    TKeyboardActionContoller map(defaultKeyMap());
    TKeyStore& keys = map.Keys();
    EXPECT_EQ(keys.Match(C | 'K'), TKeyMatch::Prefix);
    ASSERT_NE(keys.State(), nullptr);
    EXPECT_EQ(keys.State()->Shortcut, 'I');
    EXPECT_EQ(keys.State()->Parent->Shortcut, C | 'K');
    keys.check();
    EXPECT_EQ(keys.Match('I'), TKeyMatch::Command);
    EXPECT_EQ(keys.LastCommand(), 17);
    EXPECT_EQ(keys.State(), nullptr);

    EXPECT_EQ(keys.Match(C | 'K'), TKeyMatch::Prefix);
    EXPECT_EQ(keys.Match(C | S | A | 'U'), TKeyMatch::Command);
    EXPECT_EQ(keys.LastCommand(), 18);
    EXPECT_EQ(keys.Match(C | 'Q'), TKeyMatch::Prefix);
    EXPECT_EQ(keys.Match(C | '7'), TKeyMatch::Command);
    EXPECT_EQ(keys.LastCommand(), 37);
    keys.check();
}

TEST(KeyStoreMatching, UnmatchedSecondKeyResetsTheMatcher)
{
    TKeyboardActionContoller map(defaultKeyMap());
    TKeyStore& keys = map.Keys();
    EXPECT_EQ(keys.Match(C | 'K'), TKeyMatch::Prefix);
    EXPECT_EQ(keys.Match(0x1B), TKeyMatch::NoMatch); // Escape
    EXPECT_EQ(keys.State(), nullptr);
    EXPECT_EQ(keys.Match(0x25), TKeyMatch::Command); // Left, from the first keys again
    EXPECT_EQ(keys.LastCommand(), 0);

    // A second key is looked up under the waiting prefix only: Left is bound at the top level.
    EXPECT_EQ(keys.Match(C | 'K'), TKeyMatch::Prefix);
    EXPECT_EQ(keys.Match(0x25), TKeyMatch::NoMatch);
    EXPECT_EQ(keys.Match(C | 'K'), TKeyMatch::Prefix);
    EXPECT_EQ(keys.Match(C | 'K'), TKeyMatch::NoMatch);
    EXPECT_EQ(keys.Match(S | 0x25), TKeyMatch::NoMatch); // the store itself keeps Shift
    keys.check();
}

TEST(KeyStoreConflicts, MessagesNameTheNewAndTheBoundCommand)
{
    TKeyboardActionContoller map(defaultKeyMap());
    EXPECT_EQ(
        conflictMessage(map, C | 'K', 0, 5),
        "Duplicate key sequence definition for\r\n\"Down one line\" and \"Indent selected block\"");
    EXPECT_EQ(conflictMessage(map, C | 'Y', 'A', 17),
              "Duplicate key sequence definition for\r\n\"Indent selected block\" and \"Delete "
              "current line\"");
    EXPECT_EQ(conflictMessage(map, C | 'K', 'I', 18),
              "Duplicate key sequence definition for\r\n\"Un-indent selected block\" and \"Indent "
              "selected block\"");
    EXPECT_EQ(conflictMessage(map, C | 'K', C | S | 'P', 3),
              "Duplicate key sequence definition for\r\n\"Line end\" and \"Print selection\"");
    EXPECT_EQ(conflictMessage(map, 0x25, 0, 1),
              "Duplicate key sequence definition for\r\n\"Cursor right\" and \"Cursor left\"");
    EXPECT_EQ(conflictMessage(map, 0x25, 0, 99),
              "Duplicate key sequence definition for\r\n\"\" and \"Cursor left\"");
    EXPECT_THROW(map.Bind(0x25, 0, 1), EKeyControllerException);
}

TEST(KeyStoreConflicts, DistinctSequencesAndModifierVariantsCoexist)
{
    TKeyboardActionContoller map(defaultKeyMap());
    map.Bind(S | 0x25, 0, 8);         // Shift+Left is a key of its own
    map.Bind(C | 'K', 'Z', 41);       // a new second key under an existing prefix
    map.Bind(A | 'K', 'I', 42);       // Alt+K is another prefix
    map.Bind(C | 'W', C | S | 0, 40); // a second key without a key code is no second key
    map.check();
    EXPECT_EQ(map.Keys().BindingCount(), 52u);
    EXPECT_EQ(map.KeysOf(40), std::make_pair(TShortCut(C | 'Y'), TShortCut(0)));
    EXPECT_EQ(map.NextKeysOf(40), std::make_pair(TShortCut(C | 'W'), TShortCut(0)));
    EXPECT_EQ(map.KeysOf(42), std::make_pair(TShortCut(C | S | 'Z'), TShortCut(0)));
    EXPECT_EQ(map.NextKeysOf(42), std::make_pair(TShortCut(A | 'K'), TShortCut('I')));
    EXPECT_EQ(map.NextKeysOf(42), std::make_pair(TShortCut(0), TShortCut(0)));
    EXPECT_EQ(map.Keys().SearchCount(), 2);
}

TEST(KeyStoreReverseLookup, EnumeratesEveryBindingOfACommandOnce)
{
    TKeyboardActionContoller map(defaultKeyMap());
    map.Bind(0x70, 0, 17); // F1
    map.Bind(C | 'J', 'I', 17);
    map.Bind(C | 'K', 'Y', 17);
    std::multiset<std::pair<TShortCut, TShortCut>> found;
    for (auto k = map.KeysOf(17); k.first != 0; k = map.NextKeysOf(17))
        found.insert(k);
    const std::multiset<std::pair<TShortCut, TShortCut>> expected = {
        {C | 'K', 'I'}, {0x70, 0}, {C | 'J', 'I'}, {C | 'K', 'Y'}};
    EXPECT_EQ(found, expected);
    // A new search starts over; a search for a command without keys finds nothing.
    EXPECT_NE(map.KeysOf(17).first, 0);
    EXPECT_EQ(map.KeysOf(1234), std::make_pair(TShortCut(0), TShortCut(0)));
}

namespace {

// The key map as plain tables, with the matching rules written out directly.
struct ReferenceMap
{
    std::map<TShortCut, int32_t> singles;
    std::map<TShortCut, std::map<TShortCut, int32_t>> sequences;
    const std::map<TShortCut, int32_t>* waiting = nullptr;

    bool bind(TShortCut first, TShortCut second, int32_t command)
    {
        second &= 0x1FFF;
        if (singles.count(first))
            return false;
        if (second == 0) {
            if (sequences.count(first))
                return false;
            singles[first] = command;
            return true;
        }
        auto& list = sequences[first];
        return list.emplace(second, command).second;
    }
    // -2 none, -3 prefix, otherwise the command.
    int32_t match(TShortCut key)
    {
        const auto* list = waiting;
        waiting = nullptr;
        if (list) {
            const auto it = list->find(key & 0x1FFF);
            return it == list->end() ? -2 : it->second;
        }
        if (const auto it = singles.find(key); it != singles.end())
            return it->second;
        if (const auto it = sequences.find(key); it != sequences.end()) {
            waiting = &it->second;
            return -3;
        }
        return -2;
    }
};

TShortCut randomKey(std::mt19937& rng, bool withModifiers)
{
    static const TShortCut modifierSets[] = {0, C, S, A, C | S, C | A};
    const TShortCut key = static_cast<TShortCut>('A' + rng() % 6);
    return withModifiers ? static_cast<TShortCut>(key | modifierSets[rng() % 6]) : key;
}

} // namespace

TEST(KeyStoreStress, RandomBindsAndMatchesAgreeWithTheReference)
{
    std::mt19937 rng(20261207);
    for (int round = 0; round < 20; ++round) {
        TKeyboardActionContoller map;
        ReferenceMap reference;
        for (int step = 0; step < 300; ++step) {
            const TShortCut first = randomKey(rng, true);
            const TShortCut second = rng() % 2 ? 0 : randomKey(rng, rng() % 4 == 0);
            const int32_t command = static_cast<int32_t>(rng() % 48);
            bool accepted = true;
            try {
                map.Bind(first, second, command);
            } catch (const EAmbigiousKeyPair&) {
                accepted = false;
            }
            ASSERT_EQ(accepted, reference.bind(first, second, command)) << "step " << step;
            map.check();
            for (int k = 0; k < 3; ++k) {
                const TShortCut key = randomKey(rng, true);
                const TKeyMatch got = map.Keys().Match(key);
                const int32_t want = reference.match(key);
                ASSERT_EQ(got == TKeyMatch::NoMatch, want == -2);
                ASSERT_EQ(got == TKeyMatch::Prefix, want == -3);
                if (got == TKeyMatch::Command) {
                    ASSERT_EQ(map.Keys().LastCommand(), want);
                }
                map.check();
            }
        }
        size_t total = 0;
        for (int32_t command = 0; command < 48; ++command) {
            std::set<std::pair<TShortCut, TShortCut>> found;
            for (auto k = map.KeysOf(command); k.first != 0; k = map.NextKeysOf(command)) {
                ASSERT_TRUE(found.insert(k).second);
                if (k.second == 0) {
                    ASSERT_EQ(reference.singles.at(k.first), command);
                } else {
                    ASSERT_EQ(reference.sequences.at(k.first).at(k.second), command);
                }
            }
            total += found.size();
        }
        size_t referenceTotal = reference.singles.size();
        for (const auto& [first, list] : reference.sequences)
            referenceTotal += list.size();
        EXPECT_EQ(total, referenceTotal);
        EXPECT_EQ(map.Keys().BindingCount(), referenceTotal);

        TKeyboardActionContoller copy;
        copy.Assign(map);
        copy.check();
        EXPECT_EQ(copy.ToRecords(), map.ToRecords());
    }
}
