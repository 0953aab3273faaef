// The Qt-free rules behind the settings dialogs that a mistake would silently spoil: the key
// map rebuilt on OK, and the auto-correct list's buttons.
#include "editor/dialogs/ExpansionLists.h"
#include "editor/dialogs/KeyAssignments.h"
#include "editor/keys/KeyCommands.h"
#include "editor/keys/KeyErrors.h"

#include <gtest/gtest.h>

namespace {

constexpr TShortCut ctrl(char key)
{
    return vk::shortCut(static_cast<uint8_t>(key), vk::scCtrl);
}

constexpr TShortCut kF12 = vk::F1 + 11;

} // namespace

TEST(KeyAssignments, UnchangedMapRebuildsToTheSameRecordsAndAConflictNamesBothCommands)
{
    const KeyMapRecords original = defaultKeyMapRecords();
    TKeyAssignments keys(original);
    // Looking at commands changes nothing: the stored map comes back record for record.
    EXPECT_EQ(TKeyAssignments::pairText(keys.pairsOf(cmdIndentBlock).at(0)), "[Ctrl+K]  [I]");
    EXPECT_EQ(TKeyAssignments::pairText(keys.pairsOf(cmdDeleteLine).at(0)), "[Ctrl+Y]  [<none>]");
    EXPECT_EQ(keys.build(), original);
    EXPECT_FALSE(keys.anyChanged());

    // Ctrl+K alone collides with the Ctrl+K prefix; the message names the command being bound
    // first and the command of the first second key under the prefix.
    keys.addPair(cmdDeleteLine, {ctrl('K'), 0});
    try {
        keys.build();
        ADD_FAILURE() << "a single key over a prefix was bound";
    } catch (const EAmbigiousKeyPair& conflict) {
        EXPECT_EQ(conflict.Message(),
                  "Duplicate key sequence definition for\r\n\"Delete current line\" and \"Indent selected block\"");
    }

    // Replacing the pair with a free key binds it, and the command keeps only its new list.
    keys.replacePair(cmdDeleteLine, 1, {kF12, 0});
    keys.deletePair(cmdDeleteLine, 0);
    const KeyMapRecords rebuilt = keys.build();
    std::vector<KeyBindingRecord> deleteLine;
    for (const KeyBindingRecord& binding : rebuilt.bindings)
        if (binding.command == cmdDeleteLine)
            deleteLine.push_back(binding);
    ASSERT_EQ(deleteLine.size(), 1u);
    EXPECT_EQ(deleteLine[0].first, kF12);
    EXPECT_EQ(rebuilt.bindings.size(), original.bindings.size());
    EXPECT_EQ(rebuilt.names, original.names);
}

TEST(ExpansionLists, EntriesStaySortedAndTheButtonsFollowTheReplaceText)
{
    std::vector<CodeTemplate> entries;
    for (const char* word : {"teh", "Adn", "recieve"})
        putExpansion(entries, {word, {}, "x"});
    putExpansion(entries, {"TEH", {}, "the"}); // the same word in other letters replaces it
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Adn");
    EXPECT_EQ(entries[1].name, "recieve");
    EXPECT_EQ(entries[2].name, "TEH");
    EXPECT_EQ(autoCorrectItemText(entries[2]), "TEH\tthe");

    const TAutoCorrectButtons fresh = autoCorrectButtons(entries, "wierd", "weird");
    EXPECT_TRUE(fresh.addEnabled);
    EXPECT_FALSE(fresh.secondEnabled);
    const TAutoCorrectButtons same = autoCorrectButtons(entries, "teh", "the");
    EXPECT_EQ(same.match, 2);
    EXPECT_FALSE(same.addEnabled);
    EXPECT_TRUE(same.secondEnabled);
    EXPECT_EQ(same.second, TSecondAction::Delete);
    EXPECT_EQ(autoCorrectButtons(entries, "teh", "then").second, TSecondAction::Replace);
    EXPECT_FALSE(autoCorrectButtons(entries, "", "the").addEnabled);
}
