// A language's settings in a real per-user store in a temporary folder: both values written and
// read back, the disabled-registry errors, missing and damaged values, and the repository-wide
// save and load.
#include "SettingsSamples.h"
#include "highlight/registry/ParserRepositorySettings.h"
#include "highlight/registry/RegistrySettings.h"
#include "highlight/registry/SettingsString.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kDamagedEntry =
    "Invalid data in registry entry \"Software\\KALTOR_PLUS_COMP\\Highlighting - ZENBASIC\"";

TParserRegistryAccess accessIn(const TempFolder& folder, int* applied = nullptr)
{
    TParserRegistryAccess access;
    access.componentName = "ZENBASIC";
    access.UseRegistry = true;
    access.RegistryKey = kParserSettingsKey;
    access.baseFolder = folder.path();
    if (applied)
        access.applyToEditors = [applied] { ++*applied; };
    return access;
}

TSM_Settings compiledSettings()
{
    TSM_Settings s;
    s.languageName = "ZENBASIC";
    s.tokenStyles[7] = 3; // something the store never carries
    return s;
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

TEST(RegistrySettings, SavedSettingsAndKeyMapLoadBackIntoCompiledSettings)
{
    TempFolder folder;
    int applied = 0;
    const TParserRegistryAccess access = accessIn(folder, &applied);
    TSM_Settings rich = richSettings();
    rich.tokenStyles[7] = 3;
    SaveToRegistry(rich, access);

    const TRegistryKey key(kParserSettingsKey, folder.path());
    EXPECT_EQ(key.ReadString("Highlighting - ZENBASIC"), settingsString(rich));
    const auto keyBytes = key.ReadBinary("Key Assignments - ZENBASIC");
    ASSERT_TRUE(keyBytes.has_value());
    EXPECT_EQ(std::vector<uint8_t>(keyBytes->begin(), keyBytes->begin() + 9), bytesOf("\x08Zylnor6:"));

    TSM_Settings loaded = compiledSettings();
    LoadFromRegistry(loaded, access, true);
    loaded.check();
    EXPECT_EQ(loaded, rich);
    EXPECT_EQ(applied, 1);
}

TEST(RegistrySettings, DisabledRegistryRefusesSavingAndLoadingWithTheOwnKey)
{
    TempFolder folder;
    TParserRegistryAccess off = accessIn(folder);
    off.UseRegistry = false;
    TParserRegistryAccess noKey = accessIn(folder);
    noKey.RegistryKey.clear();
    TSM_Settings s = compiledSettings();
    for (const TParserRegistryAccess& access : {off, noKey}) {
        EXPECT_EQ(errorOf([&] { SaveToRegistry(s, access); }), "Registry interface disabled in: ZENBASIC");
        EXPECT_EQ(errorOf([&] { LoadFromRegistry(s, access, true); }), "Registry interface disabled in: ZENBASIC");
    }
    EXPECT_FALSE(TRegistryKey(kParserSettingsKey, folder.path()).KeyExists());

    // A key given by the caller needs no registry properties.
    SaveToRegistry(richSettings(), accessIn(folder));
    LoadFromRegistry(s, off, false, kParserSettingsKey);
    EXPECT_EQ(s.options, richSettings().options);
}

TEST(RegistrySettings, MissingKeyOrValuesKeepTheCompiledSettings)
{
    TempFolder folder;
    int applied = 0;
    const TParserRegistryAccess access = accessIn(folder, &applied);
    TSM_Settings s = compiledSettings();
    LoadFromRegistry(s, access, true);
    EXPECT_EQ(s, compiledSettings());
    EXPECT_FALSE(TRegistryKey(kParserSettingsKey, folder.path()).KeyExists());

    TRegistryKey key(kParserSettingsKey, folder.path());
    key.WriteString("Highlighting - OTHER", "Zylnor6:OPT#1#5");
    key.WriteString("Key Assignments - ZENBASIC", "wrong kind"); // text, not bytes
    LoadFromRegistry(s, access, true);
    EXPECT_EQ(s, compiledSettings());
    EXPECT_EQ(applied, 2);
}

TEST(RegistrySettings, StringStoppingAfterOptionsChangesOnlyTheOptions)
{
    TempFolder folder;
    TRegistryKey key(kParserSettingsKey, folder.path());
    key.WriteString("Highlighting - ZENBASIC", "Zylnor6:OPT#5#12345");
    TSM_Settings s = compiledSettings();
    EXPECT_TRUE(loadSettingsFromKey(s, key, kParserSettingsKey));
    TSM_Settings expected = compiledSettings();
    expected.options = 12345;
    EXPECT_EQ(s, expected);
}

TEST(RegistrySettings, DamagedSettingsStringIsReportedWithTheValueNameAndChangesNothing)
{
    TempFolder folder;
    int applied = 0;
    const TParserRegistryAccess access = accessIn(folder, &applied);
    TRegistryKey key(kParserSettingsKey, folder.path());
    for (const std::string text : {"Zylnor0:OPT#1#5", "Zylnor6:OPT#1#x", "Zylnor6:EFF#10#1,256,0,0;"}) {
        key.WriteString("Highlighting - ZENBASIC", text);
        TSM_Settings s = compiledSettings();
        EXPECT_EQ(errorOf([&] { LoadFromRegistry(s, access, true); }), kDamagedEntry) << text;
        EXPECT_EQ(s, compiledSettings()) << text;
    }
    EXPECT_EQ(applied, 0);
}

TEST(RegistrySettings, DamagedKeyAssignmentBytesAreReportedAndTheWholeLoadIsUndone)
{
    TempFolder folder;
    const TParserRegistryAccess access = accessIn(folder);
    SaveToRegistry(richSettings(), access);
    TRegistryKey key(kParserSettingsKey, folder.path());
    const std::vector<uint8_t> good = *key.ReadBinary("Key Assignments - ZENBASIC");

    std::vector<uint8_t> truncated(good.begin(), good.end() - 3);
    std::vector<uint8_t> negativeCount = bytesOf("\x08Zylnor6:");
    negativeCount.insert(negativeCount.end(), {0xFF, 0xFF, 0xFF, 0xFF});
    std::vector<uint8_t> conflicting = bytesOf("\x08Zylnor6:");
    for (uint8_t b : {0, 0, 0, 0, 2, 0, 0, 0, 0x25, 0, 0, 0, 0, 0, 0, 0, 0x25, 0, 0, 0, 1, 0, 0, 0})
        conflicting.push_back(b); // no names, two bindings of Left
    std::vector<uint8_t> oversized = good;
    oversized.resize(65 * 1024, 0);

    for (const auto& bytes : {truncated, negativeCount, conflicting, oversized}) {
        key.WriteBinary("Key Assignments - ZENBASIC", bytes);
        TSM_Settings s = compiledSettings();
        EXPECT_EQ(errorOf([&] { LoadFromRegistry(s, access, true); }), kDamagedEntry);
        EXPECT_EQ(s, compiledSettings());
    }
}

TEST(RegistrySettings, KeyAssignmentValueWithoutItsMarkIsIgnored)
{
    TempFolder folder;
    TRegistryKey key(kParserSettingsKey, folder.path());
    key.WriteString("Highlighting - ZENBASIC", "Zylnor6:OPT#1#5");
    key.WriteBinary("Key Assignments - ZENBASIC", bytesOf("\x08Zylnor5:"));
    TSM_Settings s = compiledSettings();
    EXPECT_TRUE(loadSettingsFromKey(s, key, kParserSettingsKey));
    EXPECT_EQ(s.options, 5);
    EXPECT_EQ(s.keyMap, compiledSettings().keyMap);
}

TEST(ParserRepositorySettings, SavesEveryLanguageAndLoadsThemBack)
{
    TempFolder folder;
    TSM_Settings basic = richSettings();
    TSM_Settings assembler = compiledSettings();
    assembler.languageName = "ASM";
    assembler.gutterFont.style = fsStrikeOut;
    assembler.styles[9] = {fsItalic, 1, 2, 0, 1, 0, 1};
    const TParserRepositorySettings repository(folder.path());
    repository.SaveAll(std::vector<TRepositoryLanguage>{{"ZENBASIC", basic}, {"ASM", assembler}});

    const TRegistryKey key(kParserSettingsKey, folder.path());
    EXPECT_EQ(key.ValueNames().size(), 4u);

    TSM_Settings basicLoaded = compiledSettings();
    TSM_Settings assemblerLoaded = compiledSettings();
    assemblerLoaded.languageName = "ASM";
    const std::vector<TRepositoryLanguage> languages{{"ZENBASIC", basicLoaded}, {"ASM", assemblerLoaded}};
    EXPECT_EQ(repository.LoadAll(languages), 2);
    basic.tokenStyles[7] = 3;
    assembler.tokenStyles[7] = 3;
    EXPECT_EQ(basicLoaded, basic);
    EXPECT_EQ(assemblerLoaded, assembler);
}

TEST(ParserRepositorySettings, OneDamagedLanguageDoesNotKeepTheOthersFromLoading)
{
    TempFolder folder;
    TRegistryKey key(kParserSettingsKey, folder.path());
    key.WriteString("Highlighting - ZENBASIC", "Zylnor6:OPT#3#abc");
    key.WriteString("Highlighting - ASM", "Zylnor6:OPT#2#77");
    TSM_Settings basic = compiledSettings();
    TSM_Settings assembler = compiledSettings();
    assembler.languageName = "ASM";
    const TParserRepositorySettings repository(folder.path());
    const std::vector<TRepositoryLanguage> languages{{"ZENBASIC", basic}, {"ASM", assembler}};
    EXPECT_EQ(errorOf([&] { repository.LoadAll(languages); }), kDamagedEntry);
    EXPECT_EQ(basic, compiledSettings());
    EXPECT_EQ(assembler.options, 77);
}
