// The default key map: every command's description and keys, its stored round trip, and copies.
#include "editor/keys/DefaultKeyMap.h"
#include "base/Stream.h"
#include "editor/keys/KeyCommands.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using KeyPair = std::pair<TShortCut, TShortCut>;

constexpr TShortCut C = 0x4000; // Ctrl
constexpr TShortCut S = 0x2000; // Shift

struct Expected
{
    int32_t command;
    const char* description;
    std::vector<KeyPair> keys;
};

// Written out by hand from the command table, so that a slip in the map's own table shows.
std::vector<Expected> expectedDefaults()
{
    std::vector<Expected> e = {
        {0, "Cursor left", {{0x25, 0}}},
        {1, "Cursor right", {{0x27, 0}}},
        {2, "Line start", {{0x24, 0}}},
        {3, "Line end", {{0x23, 0}}},
        {4, "Up one line", {{0x26, 0}}},
        {5, "Down one line", {{0x28, 0}}},
        {6, "Up one page", {{0x21, 0}}},
        {7, "Down one page", {{0x22, 0}}},
        {8, "Move to word before", {{C | 0x25, 0}}},
        {9, "Move to word after", {{C | 0x27, 0}}},
        {10, "Document start", {{C | 0x24, 0}}},
        {11, "Document end", {{C | 0x23, 0}}},
        {12, "Cut to clipboard", {{C | 'X', 0}}},
        {13, "Copy to clipboard", {{C | 'C', 0}}},
        {14, "Paste from clipboard", {{C | 'V', 0}}},
        {15, "Delete character at cursor", {{0x2E, 0}}},
        {16, "Delete character before caret", {{0x08, 0}}},
        {17, "Indent selected block", {{C | 'K', 'I'}}},
        {18, "Un-indent selected block", {{C | 'K', 'U'}}},
        {19, "Toggle insert/overwrite mode", {{0x2D, 0}}},
        {40, "Delete current line", {{C | 'Y', 0}}},
        {41, "Undo", {{C | 'Z', 0}}},
        {42, "Redo", {{C | S | 'Z', 0}}},
        {43, "Delete previous word", {{C | 0x08, 0}}},
        {44, "Print selection", {{C | 'K', 'P'}}},
        {45, "Delete next word", {{C | 0x2E, 0}}},
        {46, "Scroll display up one line", {{C | 0x26, 0}}},
        {47, "Scroll display down one line", {{C | 0x28, 0}}},
    };
    static const char* const setNames[] = {
        "Set Bookmark 0", "Set Bookmark 1", "Set Bookmark 2", "Set Bookmark 3", "Set Bookmark 4",
        "Set Bookmark 5", "Set Bookmark 6", "Set Bookmark 7", "Set Bookmark 8", "Set Bookmark 9"};
    static const char* const gotoNames[] = {"Goto Bookmark 0", "Goto Bookmark 1", "Goto Bookmark 2",
                                            "Goto Bookmark 3", "Goto Bookmark 4", "Goto Bookmark 5",
                                            "Goto Bookmark 6", "Goto Bookmark 7", "Goto Bookmark 8",
                                            "Goto Bookmark 9"};
    for (int n = 0; n < 10; ++n) {
        e.push_back({20 + n, setNames[n], {{C | 'K', static_cast<TShortCut>('0' + n)}}});
        e.push_back({30 + n, gotoNames[n], {{C | 'Q', static_cast<TShortCut>('0' + n)}}});
    }
    return e;
}

std::vector<KeyPair> allKeysOf(TKeyboardActionContoller& map, int32_t command)
{
    std::vector<KeyPair> keys;
    for (KeyPair k = map.KeysOf(command); k != KeyPair{0, 0}; k = map.NextKeysOf(command))
        keys.push_back(k);
    return keys;
}

std::vector<uint8_t> savedBytes(const TKeyboardActionContoller& map)
{
    TMemoryStream stream;
    map.SaveToStream(stream);
    return stream.Bytes();
}

} // namespace

TEST(DefaultKeyMap, EveryCommandHasItsDescriptionAndKeys)
{
    TKeyboardActionContoller map(defaultKeyMap());
    map.check();
    const auto expected = expectedDefaults();
    ASSERT_EQ(expected.size(), 48u);
    ASSERT_EQ(map.Names().size(), 48u);
    EXPECT_EQ(map.Keys().BindingCount(), 48u);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.description);
        EXPECT_EQ(map.NameOf(e.command), e.description);
        EXPECT_EQ(editorCommandDescription(e.command), e.description);
        EXPECT_EQ(allKeysOf(map, e.command), e.keys);
    }
    EXPECT_EQ(map.NameOf(48), "");
    EXPECT_EQ(map.NameOf(-1), "");
    EXPECT_EQ(allKeysOf(map, 48), std::vector<KeyPair>{});
}

TEST(DefaultKeyMap, IsBuiltOnceAndCopiesAreIndependent)
{
    const TKeyboardActionContoller& shared = defaultKeyMap();
    EXPECT_EQ(&shared, &defaultKeyMap());
    TKeyboardActionContoller first(shared);
    TKeyboardActionContoller second;
    second.Assign(shared);
    first.Bind(C | 'J', 0, 41);
    first.SetName(41, "Undo it");
    EXPECT_EQ(first.KeysOf(41), KeyPair(C | 'Z', 0));
    EXPECT_EQ(first.NextKeysOf(41), KeyPair(C | 'J', 0));
    EXPECT_EQ(second.KeysOf(41), KeyPair(C | 'Z', 0));
    EXPECT_EQ(second.NextKeysOf(41), KeyPair(0, 0));
    EXPECT_EQ(second.NameOf(41), "Undo");
    EXPECT_EQ(savedBytes(second), savedBytes(shared));
    second.check();
}

TEST(DefaultKeyMap, SaveLoadSaveGivesIdenticalBytes)
{
    const std::vector<uint8_t> bytes = savedBytes(defaultKeyMap());
    TMemoryStream stream(bytes);
    TKeyboardActionContoller loaded;
    loaded.Bind(C | 'J', 0, 5); // replaced by the load
    loaded.LoadFromStream(stream);
    loaded.check();
    EXPECT_EQ(stream.Position(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(loaded.Names().size(), 48u);
    EXPECT_EQ(loaded.Keys().BindingCount(), 48u);
    EXPECT_EQ(loaded.KeysOf(5), KeyPair(0x28, 0));
    EXPECT_EQ(loaded.NextKeysOf(5), KeyPair(0, 0));
    EXPECT_EQ(savedBytes(loaded), bytes);
}

TEST(DefaultKeyMap, StoredBindingsFollowTheTreeOrder)
{
    const TKeyMapRecords records = defaultKeyMap().ToRecords();
    ASSERT_EQ(records.bindings.size(), 48u);
    // The bound first keys in binding order, then the second keys under Ctrl+K (the earlier
    // prefix) and then those under Ctrl+Q.
    const size_t singles = 48 - 13 - 10; // Ctrl+K holds 13 second keys, Ctrl+Q 10
    EXPECT_EQ(records.bindings[0].first, 0x25);
    EXPECT_EQ(records.bindings[singles - 1].first, C | 0x28);
    for (size_t i = 0; i < singles; ++i)
        EXPECT_EQ(records.bindings[i].second, 0) << i;
    for (size_t i = singles; i < singles + 13; ++i)
        EXPECT_EQ(records.bindings[i].first, C | 'K') << i;
    for (size_t i = singles + 13; i < 48; ++i)
        EXPECT_EQ(records.bindings[i].first, C | 'Q') << i;
    EXPECT_EQ(records.bindings[singles].second, 'I');
    EXPECT_EQ(records.bindings[singles + 1].second, 'U');
    EXPECT_EQ(records.bindings[singles + 12].second, 'P');
    EXPECT_EQ(records.bindings[47].second, '9');
    std::set<int32_t> commands;
    for (const auto& c : records.commands)
        commands.insert(c.number);
    EXPECT_EQ(commands.size(), 48u);
}
