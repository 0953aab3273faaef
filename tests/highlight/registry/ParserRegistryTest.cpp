// The registry operations on parser components: the properties dialog's save, loading with the
// own key, and the repository's load, each refreshing the parser's editors.
#include "SettingsSamples.h"
#include "highlight/registry/ParserRegistry.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace {

struct CountingEditor : TParserEditor
{
    int changes = 0;
    void ParserChanged(TCustomSourceMemoParser&) override { ++changes; }
};

void makeLanguage(TSourceMemoParser& parser, const std::string& name)
{
    parser.Name = name;
    parser.Settings().languageName = name;
    parser.UseRegistry = true;
    parser.RegistryKey = kParserSettingsKey;
}

} // namespace

TEST(ParserRegistry, PropertiesDialogSavesAndTheOwnKeyLoadsIntoTheEditors)
{
    TempFolder folder;
    TSourceMemoParser edited;
    makeLanguage(edited, "ZENBASIC");
    installRegistryWriter(edited, folder.path());
    edited.PropertiesDialog = [](TSourceMemoParser& p) {
        p.Settings().gutterFont.style = fsStrikeOut;
        return true;
    };
    ASSERT_TRUE(edited.EditProperties());

    TSourceMemoParser other;
    makeLanguage(other, "ZENBASIC");
    CountingEditor editor;
    other.AttachEditor(&editor);
    LoadFromRegistry(other, true, {}, folder.path());
    EXPECT_EQ(other.Settings(), edited.Settings());
    EXPECT_EQ(editor.changes, 1);

    other.UseRegistry = false;
    EXPECT_EQ(errorOf([&] { LoadFromRegistry(other, true, {}, folder.path()); }),
              "Registry interface disabled in: ZENBASIC");
    other.DetachEditor(&editor);
}

TEST(ParserRegistry, RepositoryLoadRefreshesEveryParserAndThenReportsTheDamage)
{
    TempFolder folder;
    TRegistryKey key(kParserSettingsKey, folder.path());
    key.WriteString("Highlighting - ZENBASIC", "Zylnor6:OPT#1#x");
    key.WriteString("Highlighting - ASM", "Zylnor6:OPT#2#77");
    TSourceMemoParser basic, assembler;
    makeLanguage(basic, "ZENBASIC");
    makeLanguage(assembler, "ASM");
    CountingEditor basicEditor, assemblerEditor;
    basic.AttachEditor(&basicEditor);
    assembler.AttachEditor(&assemblerEditor);
    TSourceMemoParser* parsers[] = {&basic, &assembler};
    EXPECT_EQ(errorOf([&] { loadRepositoryParsers(TParserRepositorySettings(folder.path()), parsers); }),
              "Invalid data in registry entry \"Software\\KALTOR_PLUS_COMP\\Highlighting - ZENBASIC\"");
    EXPECT_EQ(assembler.Settings().options, 77);
    EXPECT_EQ(basic.Settings().options, TSM_Settings::kDefaultOptions);
    EXPECT_EQ(basicEditor.changes, 1);
    EXPECT_EQ(assemblerEditor.changes, 1);
    basic.DetachEditor(&basicEditor);
    assembler.DetachEditor(&assemblerEditor);
}
