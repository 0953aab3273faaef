// The settings string: its exact written form, round trips of every carried field, the tagged
// reader's stopping rules, the older positional versions, and damaged strings.
#include "SettingsSamples.h"
#include "highlight/registry/SettingsErrors.h"
#include "highlight/registry/SettingsString.h"
#include "highlight/registry/TabColumnsText.h"

#include <gtest/gtest.h>

namespace {

// A tagged field as the writer forms it.
std::string field(const std::string& tag, const std::string& value)
{
    return tag + "#" + std::to_string(value.size()) + "#" + value;
}

TSM_Settings readOver(const TSM_Settings& start, const std::string& text)
{
    TSM_Settings settings = start;
    readSettingsString(text, settings);
    settings.check();
    return settings;
}

} // namespace

TEST(SettingsString, DefaultSettingsAreWrittenFieldByFieldInTableOrder)
{
    const std::string expected =
        "Zylnor6:OPT#8#67099632GWD#2#34GCL#11#-2147483633WRC#1#0IDS#1#1WRO#3#>|:"
        "FON#11#Courier NewFOS#2#10STC#11#-2147483634STB#11#-2147483635TBC#0#TBD#1#4EFF#1#0"
        "GDF#1#0MDF#1#0SDF#1#0BDF#1#0FOC#1#1RMG#2#80LNN#13#MS Sans SerifLNS#1#8"
        "LNC#11#-2147483640LNT#1#1LNE#0##END#";
    EXPECT_EQ(settingsString(TSM_Settings{}), expected);
}

TEST(SettingsString, StylesAndGutterStyleAreWrittenAsLetters)
{
    TSM_Settings s;
    s.styles[3] = {fsBold | fsStrikeOut, 255, 16777215, 0, 1, 1, 1};
    s.styles[10] = {fsItalic | fsUnderline, clWindowText, 0, 1, 0, 0, 1};
    s.gutterFont.style = fsStrikeOut | fsBold | fsItalic | fsUnderline;
    s.tabStops = {4, 8, 60, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                  -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    const std::string text = settingsString(s);
    EXPECT_NE(text.find(field("EFF", "2,3,255,16777215,XB;10,-2147483640,0,YIU;")), std::string::npos);
    EXPECT_NE(text.find(field("LNE", "IBUS")), std::string::npos);
    EXPECT_NE(text.find(field("TBC", "5 9 61")), std::string::npos);
}

TEST(SettingsString, EveryCarriedFieldSurvivesTheRoundTrip)
{
    const TSM_Settings rich = richSettings();
    TSM_Settings loaded;
    loaded.languageName = rich.languageName;
    loaded.keyMap = rich.keyMap; // travels in its own value
    readSettingsString(settingsString(rich), loaded);
    loaded.check();
    EXPECT_EQ(loaded, rich);
    EXPECT_EQ(loaded.gutterFont.style, fsItalic | fsBold | fsUnderline | fsStrikeOut);
    EXPECT_EQ(static_cast<uint32_t>(loaded.styles[2].foreground), 0x80000008u);
    EXPECT_EQ(loaded.styles[200].background, INT32_MIN);
}

TEST(SettingsString, StrikeOutOfStylesIsNotCarriedButTheHotSpotFlagIsKept)
{
    TSM_Settings s;
    s.styles[5] = {fsStrikeOut | fsBold, 1, 2, 0, 0, 1, 1};
    TSM_Settings target;
    target.styles[5].hotSpot = 1;
    target.styles[5].fontStyle = fsStrikeOut;
    const TSM_Settings loaded = readOver(target, settingsString(s));
    EXPECT_EQ(loaded.styles[5].fontStyle, fsBold);
    EXPECT_EQ(loaded.styles[5].hotSpot, 1);
    EXPECT_EQ(loaded.styles[5].defined, 1);
}

TEST(SettingsString, AllTwoHundredFiftySixStylesSurviveThoughTheCountSays255)
{
    TSM_Settings s;
    for (int i = 0; i < 256; ++i)
        s.styles[i] = {static_cast<uint8_t>(i % 8), i * 3, -i, uint8_t(i & 1), uint8_t((i >> 1) & 1), 0, 1};
    const std::string text = settingsString(s);
    EXPECT_NE(text.find("EFF#"), std::string::npos);
    EXPECT_NE(text.find("#255,0,0,0,;1,3,-1,YB;"), std::string::npos);
    const TSM_Settings loaded = readOver(TSM_Settings{}, text);
    for (int i = 0; i < 256; ++i) {
        StyleRecord expected = s.styles[i];
        expected.fontStyle &= fsBold | fsItalic | fsUnderline;
        EXPECT_EQ(loaded.styles[i], expected) << "style " << i;
    }
}

TEST(SettingsString, TaggedStringStopsAtItsEndOrAtTheFirstUnknownTag)
{
    const TSM_Settings rich = richSettings();
    TSM_Settings expected = rich;
    expected.options = 12345678;
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("OPT", "12345678")), expected);
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("OPT", "12345678") + field("XYZ", "5") + field("GWD", "9")),
              expected);
    // Only four letters of a tag are kept: "OPTIONS" is "OPTI", which no field has.
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("OPTIONS", "7")), rich);
    // A field without its second number sign, or without a length, ends the reading.
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("OPT", "12345678") + "GWD#2"), expected);
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("OPT", "12345678") + "GWD##9"), expected);
    EXPECT_EQ(readOver(rich, "Zylnor6"), rich);
    // Versions 5, 7, 8 and 9 are read as tagged strings too.
    for (char version : {'5', '7', '8', '9'})
        EXPECT_EQ(readOver(rich, std::string("Zylnor") + version + ":" + field("OPT", "12345678")), expected);
}

TEST(SettingsString, TextValuesAreTakenByLengthAndOtherValuesLeniently)
{
    const TSM_Settings loaded =
        readOver(TSM_Settings{}, "Zylnor6:" + field("FON", "A#B#3#") + field("LNN", "") + field("WRO", "#"));
    EXPECT_EQ(loaded.font.name, "A#B#3#");
    EXPECT_EQ(loaded.gutterFont.font.name, "");
    EXPECT_EQ(loaded.wrapOverride, "#");
    // A length beyond the end takes the rest.
    EXPECT_EQ(readOver(TSM_Settings{}, "Zylnor6:FON#99#Arial").font.name, "Arial");

    // Flags are any number, character sets keep their low byte, style letters any case.
    const TSM_Settings lenient = readOver(
        TSM_Settings{}, "Zylnor6:" + field("GDF", "7") + field("FOC", "511") + field("LNE", "sxb"));
    EXPECT_EQ(lenient.gutterColorDerived, 1);
    EXPECT_EQ(lenient.font.charset, 255);
    EXPECT_EQ(lenient.gutterFont.style, fsStrikeOut | fsBold);
}

TEST(SettingsString, WrongPrefixOrVersionDigitIsMessage4133)
{
    const TSM_Settings rich = richSettings();
    for (const std::string text : {"Zylnor0:OPT#1#5", "ZylnorA:OPT#1#5", "Zylnor:OPT#1#5", "Zylnor",
                                   "zylnor6:OPT#1#5", "", "Xylnor6:OPT#1#5", "Zylno"}) {
        TSM_Settings s = rich;
        EXPECT_EQ(errorOf([&] { readSettingsString(text, s); }), "Invalid data in style string") << text;
        EXPECT_EQ(s, rich) << text;
    }
}

TEST(SettingsString, ValueThatIsNoNumberRaisesTheConversionErrorAndChangesNothing)
{
    const TSM_Settings rich = richSettings();
    const struct {
        std::string text, error;
    } cases[] = {
        {field("OPT", "1") + field("GWD", "12x"), "'12x' is not a valid integer value"},
        {field("OPT", "1") + field("FOS", ""), "'' is not a valid integer value"},
        {field("RMG", "2147483648"), "'2147483648' is not a valid integer value"},
        {field("LNS", "-"), "'-' is not a valid integer value"},
        {field("STC", " 5"), "' 5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        TSM_Settings s = rich;
        EXPECT_EQ(errorOf([&] { readSettingsString("Zylnor6:" + c.text, s); }), c.error) << c.text;
        EXPECT_EQ(s, rich) << c.text;
    }
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("STC", "-2147483648")).selTextColor, INT32_MIN);
    EXPECT_EQ(readOver(rich, "Zylnor6:" + field("STC", "+7")).selTextColor, 7);
}

TEST(SettingsString, StyleEntriesTakeDefaultsForEmptyFieldsAndLettersInAnyCase)
{
    TSM_Settings start;
    start.styles[5] = {fsStrikeOut | fsBold, 9, 9, 1, 1, 1, 0};
    const auto styles = [&](const std::string& eff) { return readOver(start, "Zylnor6:" + field("EFF", eff)).styles; };

    auto s = styles("1,,,;");
    EXPECT_EQ(s[255], (StyleRecord{0, clBlack, clWhite, 0, 0, 0, 1}));

    s = styles("1,5,1,2,xYbIu;");
    EXPECT_EQ(s[5], (StyleRecord{fsBold | fsItalic | fsUnderline, 1, 2, 1, 1, 1, 1}));

    s = styles("1,5,-3;");
    EXPECT_EQ(s[5], (StyleRecord{0, -3, clWhite, 0, 0, 1, 1}));

    // A character that is no letter of the entry ends it and begins the next one.
    s = styles("2,5,1,2,B6,3,4,I;");
    EXPECT_EQ(s[5], (StyleRecord{fsBold, 1, 2, 0, 0, 1, 1}));
    EXPECT_EQ(s[6], (StyleRecord{fsItalic, 3, 4, 0, 0, 0, 1}));

    // Fewer entries than counted: reading stops at the end of the value.
    s = styles("5,7,1,2,;");
    EXPECT_EQ(s[7].defined, 1);
    EXPECT_EQ(s[255].defined, 0);
    // Entries beyond the count are left alone.
    s = styles("1,7,1,2,;8,1,2,;");
    EXPECT_EQ(s[8].defined, 0);
}

TEST(SettingsString, StyleNumberOutsideTheTableIsMessage4133AndChangesNothing)
{
    const TSM_Settings rich = richSettings();
    for (const std::string eff : {"1,256,0,0,;", "2,1,0,0,;-1,0,0,;", "1,99999,0,0,;"}) {
        TSM_Settings s = rich;
        const std::string text = "Zylnor6:" + field("OPT", "5") + field("EFF", eff);
        EXPECT_EQ(errorOf([&] { readSettingsString(text, s); }), "Invalid data in style string") << eff;
        EXPECT_EQ(s, rich) << eff;
    }
}

TEST(SettingsString, TabStopsAndTabWidthAreCheckedAsTheEditorChecksThem)
{
    const TSM_Settings loaded = readOver(TSM_Settings{}, "Zylnor6:" + field("TBC", "  5   9 13 ") + field("TBD", "8"));
    EXPECT_EQ(loaded.tabStops[0], 4);
    EXPECT_EQ(loaded.tabStops[1], 8);
    EXPECT_EQ(loaded.tabStops[2], 12);
    EXPECT_EQ(loaded.tabStops[3], -1);
    EXPECT_EQ(loaded.tabDefault, 8);
    EXPECT_EQ(readOver(loaded, "Zylnor6:" + field("TBC", "")).tabStops[0], -1);

    std::string many;
    for (int column = 2; column <= 34; ++column)
        many += std::to_string(column) + " ";
    const struct {
        std::string text, error;
    } cases[] = {
        {field("TBC", "1 5"), "Tab column must be > 1"},
        {field("TBC", "5 5"), "Tab columns must be in order and unique"},
        {field("TBC", "9 5"), "Tab columns must be in order and unique"},
        {field("TBC", "5 x"), "Tab stop column value expected"},
        {field("TBC", "5 9a"), "Tab stop column value expected"},
        {field("TBC", "99999999999"), "Tab stop column value expected"},
        {field("TBC", many), "Too many tab stops - maximum of 32"},
        {field("TBD", "0"), "=Illegal default tab stop value, must be > 0"},
        {field("TBD", "-4"), "=Illegal default tab stop value, must be > 0"},
    };
    for (const auto& c : cases) {
        TSM_Settings s = loaded;
        EXPECT_EQ(errorOf([&] { readSettingsString("Zylnor6:" + c.text, s); }), c.error) << c.text;
        EXPECT_EQ(s, loaded) << c.text;
    }
}

TEST(SettingsString, TabStopsThatCannotBeWrittenAsTextAreLeftOut)
{
    TTabStopTable table;
    table.fill(-1);
    table[0] = 0;
    table[1] = 7;
    table[2] = INT32_MAX;
    EXPECT_EQ(tabColumnsText(table), "8");
    EXPECT_EQ(readTabColumnsText(tabColumnsText(table))[0], 7);
}

TEST(SettingsString, Version1ReadsNumbersWrapTextAndStylesAndFixesTheFont)
{
    TSM_Settings start = richSettings();
    const TSM_Settings s = readOver(start, "Zylnor1:43075600,40,72,2,3,#|:,2,1,255,0,B;7,,-2147483640,iu;");
    EXPECT_EQ(s.options, 43075600);
    EXPECT_EQ(s.gutterWidth, 40);
    EXPECT_EQ(s.wordWrapColumn, 72);
    EXPECT_EQ(s.indentStep, 2);
    EXPECT_EQ(s.wrapOverride, "#|:");
    EXPECT_EQ(s.font, (FontSpec{"Courier New", 10, 1}));
    EXPECT_EQ(s.selTextColor, clHighlightText);
    EXPECT_EQ(s.selTextBack, clHighlight);
    EXPECT_EQ(s.styles[1], (StyleRecord{fsBold, 255, 0, 0, 0, 0, 1}));
    EXPECT_EQ(s.styles[7], (StyleRecord{fsItalic | fsUnderline, clBlack, clWindowText, 0, 0, 0, 1}));
    EXPECT_EQ(s.tabStops, start.tabStops);
    EXPECT_EQ(s.tabDefault, start.tabDefault);
}

TEST(SettingsString, Versions2And3ReadTheFontAndVersion3TheSelectionColours)
{
    const TSM_Settings start = richSettings();
    const TSM_Settings v2 = readOver(start, "Zylnor2:1,2,3,4,2,ab;7,Consola12,1,3,0,0,;");
    EXPECT_EQ(v2.options, 1);
    EXPECT_EQ(v2.indentStep, 4);
    EXPECT_EQ(v2.wrapOverride, "ab");
    EXPECT_EQ(v2.font, (FontSpec{"Consola", 12, start.font.charset}));
    EXPECT_EQ(v2.selTextColor, clHighlightText);
    EXPECT_EQ(v2.selTextBack, clHighlight);
    EXPECT_EQ(v2.styles[3].defined, 1);

    const TSM_Settings v3 = readOver(start, "Zylnor3:1,2,3,4,0,;5,Arial,255,16711680,0");
    EXPECT_EQ(v3.wrapOverride, "");
    EXPECT_EQ(v3.font.name, "Arial");
    EXPECT_EQ(v3.font.size, 10);
    EXPECT_EQ(v3.selTextColor, 255);
    EXPECT_EQ(v3.selTextBack, 16711680);
}

TEST(SettingsString, Version4ReadsTabStopsAndTabWidth)
{
    const TSM_Settings s =
        readOver(richSettings(), "Zylnor4:1,2,3,4,1,>,5,Arial12,255,0,6,5 9 13,8,1,4,0,0,Y;");
    EXPECT_EQ(s.font.name, "Arial");
    EXPECT_EQ(s.selTextColor, 255);
    EXPECT_EQ(s.selTextBack, 0);
    EXPECT_EQ(s.tabStops[0], 4);
    EXPECT_EQ(s.tabStops[2], 12);
    EXPECT_EQ(s.tabStops[3], -1);
    EXPECT_EQ(s.tabDefault, 8);
    EXPECT_EQ(s.styles[4], (StyleRecord{0, 0, 0, 1, 0, 0, 1}));
}

TEST(SettingsString, PositionalFieldsThatAreEmptyTakeTheirDefaults)
{
    const TSM_Settings s = readOver(richSettings(), "Zylnor4:,,,,25,abcdefghijklmnopqrstuvwxy,");
    EXPECT_EQ(s.options, 67099632);
    EXPECT_EQ(s.gutterWidth, 34);
    EXPECT_EQ(s.wordWrapColumn, 0);
    EXPECT_EQ(s.indentStep, 1);
    EXPECT_EQ(s.wrapOverride, "abcdefghijklmnopqrst");
    EXPECT_EQ(s.font.size, 10);
    EXPECT_EQ(s.selTextColor, clHighlightText);
    EXPECT_EQ(s.selTextBack, clHighlight);
    EXPECT_EQ(s.tabStops[0], -1);
    EXPECT_EQ(s.tabDefault, 4);
}

TEST(SettingsString, DamagedPositionalStringChangesNothing)
{
    const TSM_Settings rich = richSettings();
    for (const std::string text : {"Zylnor4:1,2,3,4,0,,0,12,1,2,3,1 5,,0", "Zylnor1:1,2,3,4,0,,1,300,0,0,;",
                                   "Zylnor4:1,2,3,4,0,,0,12,1,2,0,,0,"}) {
        TSM_Settings s = rich;
        EXPECT_NE(errorOf([&] { readSettingsString(text, s); }), "no error") << text;
        EXPECT_EQ(s, rich) << text;
    }
}

