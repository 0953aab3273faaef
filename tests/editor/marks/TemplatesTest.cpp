// Code templates and auto-correct: trigger texts, the stored form (the very bytes of a
// language's settings block), and expansions at key-down through the editing core: indent and
// caret marker undone in one step, word edges, the host's say and the pick list.
#include "editor/marks/KeyExpansion.h"
#include "editor/marks/TemplateSettings.h"
#include "editor/marks/TriggerKeys.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/edit/SourceEditor.h"
#include "editor/keys/DefaultKeyMap.h"
#include "editor/text/EdStream.h"
#include "editor/text/SourceMemoErrors.h"
#include "highlight/ParserFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr TShortCut C = vk::scCtrl, S = vk::scShift;

std::vector<uint8_t> bytesOf(const TCodeTemplates& table)
{
    TMemoryStream stream;
    table.SaveToStream(stream);
    return stream.Bytes();
}

struct TScriptedHost : TExpansionHost
{
    void TemplateFired(const std::string& name, std::string& replacement) override
    {
        fired.push_back(name);
        if (!replaceTemplate.empty())
            replacement = replaceTemplate;
    }
    void AutoReplaceFired(TEdStream& stream, const std::string& item, std::string& with, bool& can) override
    {
        fired.push_back(item);
        streamAt = stream.Position();
        can = allow;
        if (!replaceWith.empty())
            with = replaceWith;
    }
    void ShowTemplateList(const std::string& word) override { listed.push_back(word); }

    std::vector<std::string> fired;
    std::vector<std::string> listed;
    int64_t streamAt = -1;
    bool allow = true;
    std::string replaceWith;
    std::string replaceTemplate;
};

class ExpansionTest : public ::testing::Test
{
protected:
    ExpansionTest() : keyMap(defaultKeyMap()), keys(editor)
    {
        editor.Settings.Options = 0;
        keys.Attach(keyMap, &expansion);
        expansion.AutoReplace().AddReplacement("teh", "the");
        expansion.Templates().AddTemplate("beg", "a block", "begin\r|\rend");
    }
    void load(const std::string& text, int64_t caret)
    {
        TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
        store.LoadFromStream(stream);
        editor.SetSelection(caret, caret);
    }
    // A key-down and, when it was not consumed, the character it types.
    void press(uint16_t key, TShortCut shift, char typed)
    {
        if (keys.KeyDown(key, shift) == TKeyDownResult::PassedOn && typed && keys.AcceptKeyPress())
            editor.KeyPress(typed);
    }
    void typeWord(const std::string& word)
    {
        for (char c : word)
            press(static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(c))), 0, c);
    }

    TTextStore store;
    TSourceEditor editor{store};
    TScriptedHost host;
    TKeyExpansion expansion{editor, host};
    TKeyboardActionContoller keyMap;
    TKeyDownHandler keys;
};

} // namespace

TEST(TriggerKeys, DefaultTextAndEscapes)
{
    EXPECT_EQ(parseTriggerKeys(TAutoReplace::kDefaultTriggers),
              (std::vector<int>{vk::Oem1, vk::OemComma, vk::Oem1 + kTriggerShift, vk::OemPeriod, vk::OemPlus,
                                '9' + kTriggerShift, '0' + kTriggerShift, vk::Oem4, vk::Oem6, vk::Return, vk::Tab,
                                vk::Space}));
    // \s \t \n \r, a key name in any case, an escaped character without Shift, a letter with
    // and without Shift, duplicates once, unknown names and a lone final backslash skipped.
    EXPECT_EQ(parseTriggerKeys("\\s\\t\\n\\r\\{f3}\\:aA;;\\{nokey}\\"),
              (std::vector<int>{vk::Space, vk::Tab, vk::Return, 114, vk::Oem1, 'A', 'A' + kTriggerShift}));
    TAutoReplace table;
    EXPECT_TRUE(table.IsTrigger(vk::Oem1, S));        // ":"
    EXPECT_FALSE(table.IsTrigger(vk::Oem1, S | C));   // Ctrl+":" is another key
    EXPECT_FALSE(table.IsTrigger(vk::Space + 256, 0)); // a code with a high byte never matches
}

// The tables write exactly what a language's settings block holds as its items 12 and 13, and
// read back what they wrote.
TEST(TemplateStorage, TablesAreTheSettingsBlocksItemsTwelveAndThirteen)
{
    TSM_Settings settings;
    settings.autoReplace.entries = {{"teh", "", "the"}, {"adn", "", "and"}};
    settings.triggers = ";\\{Space}";
    settings.templates.entries = {{"if", "if block", "IF | THEN\rENDIF"}, {"for", "", "FOR |\rNEXT"}};
    settings.templates.hotKey = "Ctrl+Shift+J";
    ByteWriter block;
    writeSettingsBlock(block, settings, kParserStreamVersion);

    TAutoReplace autoReplace;
    TCodeTemplates templates;
    AutoReplaceFromSettings(settings, autoReplace);
    TemplatesFromSettings(settings, templates);
    std::vector<uint8_t> items = bytesOf(autoReplace);
    const std::vector<uint8_t> thirteen = bytesOf(templates);
    items.insert(items.end(), thirteen.begin(), thirteen.end());
    EXPECT_NE(std::search(block.data().begin(), block.data().end(), items.begin(), items.end()), block.data().end());

    TAutoReplace reread;
    TMemoryStream stream(bytesOf(autoReplace));
    reread.LoadFromStream(stream);
    EXPECT_EQ(reread.Entries(), autoReplace.Entries());
    EXPECT_EQ(reread.TriggerKeys(), (std::vector<int>{vk::Oem1, vk::Space}));
    TSM_Settings back;
    AutoReplaceToSettings(reread, back);
    TemplatesToSettings(templates, back);
    EXPECT_EQ(back.autoReplace.entries, settings.autoReplace.entries);
    EXPECT_EQ(back.triggers, settings.triggers);
    EXPECT_EQ(back.templates, settings.templates);

    reread.Reset();
    EXPECT_TRUE(reread.Entries().empty());
    EXPECT_EQ(reread.Triggers(), TAutoReplace::kDefaultTriggers);
}

TEST(TemplateStorage, DamagedBytesLeaveTheTableAsItWas)
{
    TCodeTemplates templates;
    templates.AddTemplate("a", "", "x");
    const std::vector<uint8_t> good = bytesOf(templates);
    for (size_t cut = 0; cut < good.size(); ++cut) {
        TCodeTemplates target;
        target.AddTemplate("keep", "", "me");
        TReadOnlyMemoryStream stream(good.data(), static_cast<int64_t>(cut));
        EXPECT_THROW(target.LoadFromStream(stream), EReadError) << cut;
        ASSERT_EQ(target.Entries().size(), 1u);
        EXPECT_EQ(target.Entries()[0].Name, "keep");
    }
    const uint8_t negative[] = {0xFF, 0xFF, 0xFF, 0xFF};
    TReadOnlyMemoryStream stream(negative, 4);
    EXPECT_THROW(templates.LoadFromStream(stream), EKeywords);
    // A text length far beyond the bytes there: an early end, not a huge allocation.
    const uint8_t huge[] = {1, 0, 0, 0, 1, 'a', 0, 0xFF, 0xFF, 0xFF, 0x7F};
    TReadOnlyMemoryStream hugeStream(huge, sizeof huge);
    EXPECT_THROW(templates.LoadFromStream(hugeStream), EReadError);

    TAutoReplace other;
    try {
        templates.Assign(other);
        FAIL();
    } catch (const ESourceMemo& error) {
        EXPECT_STREQ(error.what(), "Cannot assign TAutoReplace to TCodeTemplates");
    }
}

TEST_F(ExpansionTest, TemplateIndentsItsLinesAndPlacesTheCaretInOneUndoStep)
{
    load("x\r    beg", 9); // "beg" starts in column 4
    press('J', C, 0);
    EXPECT_EQ(store.GetText(), "x\r    begin\r    \r    end");
    EXPECT_EQ(editor.SelCaret(), 16); // on the second line of the text, after its indent
    EXPECT_EQ(editor.CaretLine(), 3);
    EXPECT_EQ(host.fired, std::vector<std::string>{"beg"});
    editor.Undo();
    EXPECT_EQ(store.GetText(), "x\r    beg");
    EXPECT_FALSE(editor.CanUndo());
    EXPECT_EQ(editor.check(), "");

    // Names are found whatever their case; the host may change the text.
    host.replaceTemplate = "B|";
    load("BEG", 3);
    press('J', C, 0);
    EXPECT_EQ(store.GetText(), "B");
    EXPECT_EQ(editor.SelCaret(), 1);
}

TEST_F(ExpansionTest, AutoCorrectReplacesOnlyAtWordEdgesAndTheDelimiterIsStillTyped)
{
    load("", 0);
    typeWord("teh");
    press(vk::Space, 0, ' ');
    EXPECT_EQ(store.GetText(), "the ");
    EXPECT_EQ(host.streamAt, 0);
    editor.Undo(); // the space
    editor.Undo(); // the replacement
    EXPECT_EQ(store.GetText(), "teh");

    load("", 0);
    typeWord("xteh");
    press(vk::Space, 0, ' ');
    EXPECT_EQ(store.GetText(), "xteh ");
    load("tehx", 3); // a word character after the name
    press(vk::OemComma, 0, ',');
    EXPECT_EQ(store.GetText(), "teh,x");
    load("teh", 3);
    press('Q', 0, 'q'); // not a trigger key
    EXPECT_EQ(store.GetText(), "tehq");

    host.allow = false;
    load("teh", 3);
    press(vk::Oem1, S, ':');
    EXPECT_EQ(store.GetText(), "teh:");
    host.allow = true;
    host.replaceWith = "THE";
    load("(teh", 4);
    press('0', S, ')');
    EXPECT_EQ(store.GetText(), "(THE)");
    editor.Settings.ReadOnly = true;
    load("teh", 3);
    press(vk::Space, 0, ' ');
    EXPECT_EQ(store.GetText(), "teh");
}

TEST_F(ExpansionTest, HotKeyWithoutATemplateSelectsTheWordAndOffersTheList)
{
    load("say  hel", 8);
    press('J', C, 0);
    ASSERT_EQ(host.listed, std::vector<std::string>{"hel"});
    EXPECT_EQ(editor.SelStart(), 5);
    EXPECT_EQ(editor.SelCaret(), 5);
    expansion.ExpandChoice(*expansion.Templates().Find("beg"));
    EXPECT_EQ(store.GetText(), "say  begin\r     \r     end");
    editor.Undo();
    EXPECT_EQ(store.GetText(), "say  hel");

    load("say ", 4); // blanks before the caret are no word
    press('J', C, 0);
    EXPECT_EQ(host.listed.back(), "");
    EXPECT_EQ(editor.SelStart(), 4);
}
