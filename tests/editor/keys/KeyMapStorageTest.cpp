// The stored form of a key map and of the key-assignment settings value, and what loading does
// with damaged bytes.
#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/keys/DefaultKeyMap.h"
#include "editor/keys/KeyAssignmentsValue.h"
#include "editor/keys/KeyErrors.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<uint8_t> savedBytes(const TKeyboardActionContoller& map)
{
    TMemoryStream stream;
    map.SaveToStream(stream);
    return stream.Bytes();
}

// Loads bytes into a copy of the default map; true when it loaded. A failed load must leave the
// map as it was, and no load may break the map's invariants.
bool tryLoad(const std::vector<uint8_t>& bytes)
{
    TKeyboardActionContoller map(defaultKeyMap());
    const std::vector<uint8_t> before = savedBytes(map);
    TReadOnlyMemoryStream stream(bytes.data(), static_cast<int64_t>(bytes.size()));
    try {
        map.LoadFromStream(stream);
    } catch (const Exception&) {
        map.check();
        EXPECT_EQ(savedBytes(map), before);
        return false;
    }
    map.check();
    EXPECT_EQ(map.Keys().State(), nullptr);
    return true;
}

} // namespace

TEST(KeyMapStoredForm, BytesOfASmallMap)
{
    TKeyboardActionContoller map;
    map.Clear();
    map.SetName(3, "End");
    map.SetName(300, "Xy");
    map.Bind(0x2023, 0, 3);        // Shift+End
    map.Bind(0x404B, 0x4049, 300); // Ctrl+K, Ctrl+I: the second key is kept without Ctrl
    const std::vector<uint8_t> expected = {
        2,    0,    0,    0,                      // two names
        3,    0,    0,    0, 3,    'E', 'n', 'd', // 3 "End"
        0x2C, 1,    0,    0, 2,    'X', 'y',      // 300 "Xy"
        2,    0,    0,    0,                      // two bindings
        0x23, 0x20, 0,    0, 3,    0,   0,   0,   // Shift+End -> 3
        0x4B, 0x40, 0x49, 0, 0x2C, 1,   0,   0,   // Ctrl+K, I -> 300
    };
    EXPECT_EQ(savedBytes(map), expected);
}

TEST(KeyMapStoredForm, SetNameReplacesAndAppends)
{
    TKeyboardActionContoller map;
    map.SetName(0, "Left");
    map.SetName(99, "");
    ASSERT_EQ(map.Names().size(), 49u);
    EXPECT_EQ(map.Names()[47].command, 0);
    EXPECT_EQ(map.Names()[47].text, "Left");
    EXPECT_EQ(map.Names()[48].command, 99);
    EXPECT_EQ(map.NameOf(1), "Cursor right");
    map.check();
}

TEST(KeyMapStoredForm, LongDescriptionsAreCutToAShortText)
{
    TKeyboardActionContoller map;
    map.Clear();
    map.SetName(7, std::string(300, 'd'));
    map.Bind(0x70, 0, 7);
    TMemoryStream stream;
    map.SaveToStream(stream);
    stream.SetPosition(0);
    TKeyboardActionContoller loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.NameOf(7), std::string(255, 'd'));
    EXPECT_EQ(loaded.KeysOf(7), std::make_pair(TShortCut(0x70), TShortCut(0)));
}

TEST(KeyMapStoredForm, AssignFromNothingIsRefused)
{
    TKeyboardActionContoller map(defaultKeyMap());
    try {
        map.Assign(nullptr);
        FAIL() << "no error";
    } catch (const EKeyAssignError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TKeyboardActionContoller");
    }
    map.Assign(&map); // assigning a map to itself keeps it
    EXPECT_EQ(savedBytes(map), savedBytes(defaultKeyMap()));
}

TEST(KeyMapLoading, ConflictingStoredBindingsFailAndKeepTheMap)
{
    TKeyMapRecords records = defaultKeyMap().ToRecords();
    records.bindings.push_back({0x404B, 0, 5}); // Ctrl+K alone, while it is a prefix
    TMemoryStream stream;
    writeKeyMapRecords(stream, records);
    EXPECT_FALSE(tryLoad(stream.Bytes()));
    TKeyboardActionContoller map;
    stream.SetPosition(0);
    try {
        map.LoadFromStream(stream);
        FAIL() << "no error";
    } catch (const EAmbigiousKeyPair& e) {
        EXPECT_EQ(e.Message(), "Duplicate key sequence definition for\r\n\"Down one line\" and "
                               "\"Indent selected block\"");
    }
}

TEST(KeyMapLoading, EveryTruncationFailsWithAReadError)
{
    const std::vector<uint8_t> bytes = savedBytes(defaultKeyMap());
    for (size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<uint8_t> cut(bytes.begin(),
                                       bytes.begin() + static_cast<std::ptrdiff_t>(length));
        TKeyboardActionContoller map;
        TReadOnlyMemoryStream stream(cut.data(), static_cast<int64_t>(cut.size()));
        EXPECT_THROW(map.LoadFromStream(stream), EReadError) << length;
        ASSERT_FALSE(tryLoad(cut));
    }
    EXPECT_TRUE(tryLoad(bytes));
}

TEST(KeyMapLoading, HugeAndNegativeCountsFailWithoutAllocating)
{
    const std::vector<std::vector<uint8_t>> damaged = {
        {0xFF, 0xFF, 0xFF, 0x7F},             // two thousand million names, no bytes
        {0xFF, 0xFF, 0xFF, 0xFF},             // a negative name count
        {0, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}, // a negative binding count
        {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0, 1, 0}, // many bindings, half of one there
        {1, 0, 0, 0, 5, 0, 0, 0, 200, 'a'},                     // a name longer than the bytes left
    };
    for (const auto& bytes : damaged)
        EXPECT_FALSE(tryLoad(bytes));
    TKeyboardActionContoller map;
    TReadOnlyMemoryStream negative(damaged[1].data(), 4);
    try {
        map.LoadFromStream(negative);
        FAIL() << "no error";
    } catch (const EKeyControllerException& e) {
        EXPECT_EQ(e.Message(), "Invalid key map data");
    }
    EXPECT_TRUE(tryLoad({0, 0, 0, 0, 0, 0, 0, 0})); // an empty map is a valid map
}

TEST(KeyMapLoading, RandomAndMutatedBytesNeverBreakTheMap)
{
    std::mt19937 rng(4242);
    const std::vector<uint8_t> valid = savedBytes(defaultKeyMap());
    int loaded = 0;
    for (int i = 0; i < 3000; ++i) {
        std::vector<uint8_t> bytes;
        if (i % 2 == 0) {
            bytes.resize(rng() % 64);
            for (auto& b : bytes)
                b = static_cast<uint8_t>(rng() % 4 == 0 ? rng() : rng() % 3);
        } else {
            bytes = valid;
            for (int flips = 1 + static_cast<int>(rng() % 4); flips > 0; --flips)
                bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
        }
        loaded += tryLoad(bytes) ? 1 : 0;
    }
    // Some mutations only change a name, a command number or a key and still load.
    EXPECT_GT(loaded, 0);
}

TEST(KeyAssignmentsValue, MarkThenTheStoredMap)
{
    const std::vector<uint8_t> value = keyAssignmentsValue(defaultKeyMap());
    const std::vector<uint8_t> header = {8, 'Z', 'y', 'l', 'n', 'o', 'r', '6', ':'};
    ASSERT_GT(value.size(), header.size());
    EXPECT_TRUE(std::equal(header.begin(), header.end(), value.begin()));
    EXPECT_EQ(std::vector<uint8_t>(value.begin() + 9, value.end()), savedBytes(defaultKeyMap()));

    TKeyboardActionContoller map;
    map.Clear();
    EXPECT_TRUE(loadKeyAssignmentsValue(map, value));
    EXPECT_EQ(savedBytes(map), savedBytes(defaultKeyMap()));
}

TEST(KeyAssignmentsValue, ForeignValuesAreIgnoredAndDamagedOnesFail)
{
    TKeyboardActionContoller map(defaultKeyMap());
    const std::vector<uint8_t> before = savedBytes(map);
    std::vector<uint8_t> value = keyAssignmentsValue(map);
    value[7] = '5'; // "Zylnor5:"
    EXPECT_FALSE(loadKeyAssignmentsValue(map, value));
    EXPECT_FALSE(loadKeyAssignmentsValue(map, std::vector<uint8_t>{}));
    const std::vector<uint8_t> markOnly = {'Z', 'y', 'l', 'n', 'o', 'r', '6', ':'};
    EXPECT_THROW(loadKeyAssignmentsValue(map, markOnly), EReadError);
    value = keyAssignmentsValue(map);
    value.resize(value.size() - 3);
    EXPECT_THROW(loadKeyAssignmentsValue(map, value), EReadError);
    EXPECT_EQ(savedBytes(map), before);
}
