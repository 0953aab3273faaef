// The compiled-parser stream: defaults, round trips to identical bytes, the version-50 form,
// the version error, and hostile or truncated bodies.
#include "SampleParser.h"
#include "highlight/ParserErrors.h"
#include "highlight/ParserStream.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> streamOf(const TParserTables& tables, const TSM_Settings& settings, uint16_t version = 51)
{
    TMemoryStream stream;
    writeParserStream(stream, "ZenParser", tables, settings, version);
    return stream.Bytes();
}

ParserStreamResult load(const std::vector<uint8_t>& bytes, TParserTables& tables, TSM_Settings& settings,
                        VersionCheck check = VersionCheck::Raise)
{
    TReadOnlyMemoryStream stream(bytes.data(), int64_t(bytes.size()));
    return readParserStream(stream, "ZenParser", tables, settings, check);
}

std::string loadError(const std::vector<uint8_t>& bytes)
{
    TParserTables tables;
    TSM_Settings settings;
    try {
        load(bytes, tables, settings);
    } catch (const Exception& e) {
        EXPECT_EQ(tables.keywords.size(), 0u);
        EXPECT_EQ(settings, TSM_Settings{});
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(ParserSettings, DefaultsOfANewLanguage)
{
    const TSM_Settings s;
    EXPECT_EQ(s.wrapOverride, ">|:");
    EXPECT_EQ(s.options, 0x3FFDBF0);
    EXPECT_EQ(s.marginWidth, 2);
    EXPECT_EQ(s.rightMargin, 80);
    EXPECT_EQ(s.wordWrapColumn, 0);
    EXPECT_EQ(s.gutterWidth, 34);
    EXPECT_EQ(s.indentStep, 1);
    EXPECT_EQ(s.marginColor, 0xFFFFFF);
    EXPECT_EQ(static_cast<uint32_t>(s.gutterColor), 0x8000000Fu);
    EXPECT_EQ(s.tabDefault, 4);
    EXPECT_EQ(s.font.name, "Courier New");
    EXPECT_EQ(s.font.size, 10);
    EXPECT_EQ(s.triggers, ";,:.=()[]\\{Return}\\{Tab}\\{Space}");
    EXPECT_EQ(s.templates.hotKey, "Ctrl+J");
    EXPECT_TRUE(s.templates.enabled);
    EXPECT_EQ(s.tabStops[0], -1);
    EXPECT_EQ(s.keyMap.names.size(), 48u);
    EXPECT_EQ(s.keyMap.bindings.size(), 48u);
    EXPECT_EQ(s.keyMap.names[16].name, "Delete character before caret");
    s.check();
}

TEST(ParserSettings, DefaultKeyMapBindsEveryCommandOnce)
{
    const KeyMapRecords map = defaultKeyMapRecords();
    std::vector<int> bound(48, 0);
    for (const KeyBindingRecord& b : map.bindings)
        ++bound.at(static_cast<size_t>(b.command));
    for (int n : bound)
        EXPECT_EQ(n, 1);
    const KeyBindingRecord redo = map.bindings[20];
    EXPECT_EQ(redo.command, 42);
    EXPECT_EQ(redo.first, 0x4000 | 0x2000 | 'Z');
    const KeyBindingRecord indent = map.bindings[35];
    EXPECT_EQ(indent.command, 17);
    EXPECT_EQ(indent.first, 0x4000 | 'K');
    EXPECT_EQ(indent.second, 'I');
}

TEST(ParserStream, WriteReadWriteGivesIdenticalBytes)
{
    for (bool withStateTables : {true, false}) {
        TParserTables tables;
        TSM_Settings settings;
        buildSampleTables(tables, withStateTables);
        buildSampleSettings(settings);
        tables.check();
        settings.check();
        const std::vector<uint8_t> first = streamOf(tables, settings);
        EXPECT_EQ(first[0], 51);
        EXPECT_EQ(std::string(first.begin() + 6, first.begin() + 10), "WRZL");

        TParserTables read;
        TSM_Settings readSettings;
        const ParserStreamResult result = load(first, read, readSettings);
        read.check();
        readSettings.check();
        EXPECT_EQ(result.bodyConsumed, result.bodySize);
        EXPECT_EQ(readSettings, settings);
        EXPECT_EQ(read.keywords.size(), tables.keywords.size());
        EXPECT_EQ(read.handlers[30].has_value(), true);
        EXPECT_EQ(read.defaultStart['$']->token, 42);
        EXPECT_EQ(read.effects[20], tables.effects[20]);
        EXPECT_EQ(read.contextStates[20], ParserStateSet({1}));
        EXPECT_TRUE(read.contextStates[21].empty()); // the start state, not stored
        EXPECT_EQ(read.anchorSet, tables.anchorSet);
        EXPECT_EQ(read.boundStates, tables.boundStates);
        EXPECT_TRUE(read.customRecognizers);
        EXPECT_EQ(read.noStateTables, !withStateTables);
        EXPECT_EQ(read.statesWithTables, tables.statesWithTables);
        EXPECT_LE(read.groups.count(), tables.groups.count());
        EXPECT_EQ(streamOf(read, readSettings), first);
    }
}

TEST(ParserStream, GroupsCollapseAndResolveAfterReading)
{
    TParserTables tables;
    TSM_Settings settings;
    buildSampleTables(tables);
    TParserTables read;
    load(streamOf(tables, settings), read, settings);
    const TSM_CharGroup& terminator = read.groups.group(read.keywords[0].terminator);
    EXPECT_TRUE(terminator.negated());
    EXPECT_TRUE(terminator.matches(' '));
    EXPECT_FALSE(terminator.matches('x'));
    for (const KeywordEntry& entry : read.keywords) {
        if (entry.text != "'") {
            EXPECT_EQ(entry.terminator, read.keywords[0].terminator);
        }
    }
    EXPECT_EQ(read.defaultStart['a']->start.group, read.defaultStart['z']->start.group);
}

TEST(ParserStream, Version50HasNoGutterFontBlock)
{
    TParserTables tables;
    TSM_Settings settings;
    buildSampleTables(tables);
    buildSampleSettings(settings);
    const std::vector<uint8_t> v51 = writeParserBody(tables, settings, 51);
    const std::vector<uint8_t> v50 = writeParserBody(tables, settings, 50);
    const size_t gutterBlock = 4 + settings.gutterFont.font.name.size() + 4 + 1 + 4 + 1;
    EXPECT_EQ(v51.size(), v50.size() + gutterBlock);

    TParserTables read;
    TSM_Settings readSettings;
    const ParserStreamResult result = load(streamOf(tables, settings, 50), read, readSettings);
    EXPECT_EQ(result.version, 50);
    EXPECT_EQ(result.bodyConsumed, result.bodySize);
    EXPECT_EQ(readSettings.gutterFont, GutterFontSpec{});
    readSettings.gutterFont = settings.gutterFont;
    EXPECT_EQ(readSettings, settings);
}

TEST(ParserStream, NoStateTablesWritesZeroForTheStateTableCount)
{
    TParserTables tables;
    TSM_Settings settings;
    buildSampleTables(tables, false);
    const std::vector<uint8_t> body = writeParserBody(tables, settings);
    // The body ends with the state table count, three sets and the custom flag.
    const size_t at = body.size() - 1 - 3 * 32 - 4;
    EXPECT_EQ(std::vector<uint8_t>(body.begin() + at, body.begin() + at + 4), (std::vector<uint8_t>{0, 0, 0, 0}));

    buildSampleTables(tables, true);
    const std::vector<uint8_t> withTables = writeParserBody(tables, settings);
    TParserTables read;
    readParserBody(withTables.data(), withTables.size(), read, settings);
    EXPECT_TRUE(read.statesWithTables.contains(1));
    EXPECT_TRUE(read.statesWithTables.contains(7));
    ASSERT_NE(read.findStateTable(1), nullptr);
    EXPECT_EQ((*read.findStateTable(1))['q']->token, 50);
}

TEST(ParserStream, OldVersionsAreAVersionError)
{
    TParserTables tables;
    TSM_Settings settings;
    buildSampleTables(tables);
    std::vector<uint8_t> bytes = streamOf(tables, settings);
    bytes[0] = 49;
    const std::string expected = "ZenParser: DFM file saved by different version of TSourceMemoParser.\n\r"
                                 "Recompile script to update DFM file.\n\r"
                                 "Expected version was 51 read version was 49";
    TParserTables read;
    TSM_Settings readSettings;
    try {
        load(bytes, read, readSettings);
        FAIL() << "no error";
    } catch (const ESourceMemoParserError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
    }
    const ParserStreamResult result = load(bytes, read, readSettings, VersionCheck::Report);
    EXPECT_TRUE(result.versionError);
    EXPECT_EQ(result.version, 49);
    EXPECT_TRUE(read.keywords.empty());
    EXPECT_EQ(parserVersionErrorText("ZenParser", 49), expected);
}

TEST(ParserStream, FailuresAreRaisedWithTheComponentName)
{
    TParserTables tables;
    TSM_Settings settings;
    buildSampleTables(tables);
    const std::vector<uint8_t> bytes = streamOf(tables, settings);
    EXPECT_EQ(loadError({51}), "ZenParser: Stream read error");
    EXPECT_EQ(loadError(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8)),
              "ZenParser: Compressor : Error reading from input stream !");
    EXPECT_EQ(loadError(std::vector<uint8_t>(bytes.begin(), bytes.end() - 3)),
              "ZenParser: Compressor : Error reading from input stream ! (Compressor/QZ)");

    tables.defaultStart['!'] = TokenRule{};
    tables.defaultStart['!']->body.group = 999;
    TMemoryStream stream;
    try {
        writeParserStream(stream, "ZenParser", tables, settings);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "ZenParser: Invalid Set ID (999)");
    }
}

TEST(ParserBody, EveryTruncationIsAReadError)
{
    TParserTables tables;
    TSM_Settings settings;
    buildSampleTables(tables);
    buildSampleSettings(settings);
    const std::vector<uint8_t> body = writeParserBody(tables, settings);
    // Every cut in the settings block, then a sample of the rest (each cut costs a full read).
    for (size_t cut = 0; cut < body.size(); cut += cut < 3000 ? 1 : 7) {
        TParserTables read;
        TSM_Settings readSettings;
        EXPECT_THROW(readParserBody(body.data(), cut, read, readSettings), EReadError) << cut;
    }
}

TEST(ParserBody, HostileCountsAndFieldsAreRejected)
{
    TParserTables tables;
    TSM_Settings settings;
    const std::vector<uint8_t> body = writeParserBody(tables, settings);
    TParserTables read;
    TSM_Settings readSettings;
    // The example text claims 2 GB, then a negative length.
    std::vector<uint8_t> huge = body;
    huge[3] = 0x7F;
    EXPECT_THROW(readParserBody(huge.data(), huge.size(), read, readSettings), EReadError);
    huge[3] = 0xFF;
    EXPECT_THROW(readParserBody(huge.data(), huge.size(), read, readSettings), EReadError);

    // The first keyword table count (after the tab stops, font and flags) set to 22.
    TSM_Settings one;
    one.keywordTables.resize(1);
    std::vector<uint8_t> tooMany = writeParserBody(tables, one);
    const std::vector<uint8_t> plain = writeParserBody(tables, TSM_Settings{});
    size_t at = 0;
    while (at < plain.size() && plain[at] == tooMany[at])
        ++at;
    ASSERT_LT(at, plain.size());
    tooMany[at] = 22;
    EXPECT_THROW(readParserBody(tooMany.data(), tooMany.size(), read, readSettings), EReadError);
    tooMany[at] = 0x10;
    EXPECT_THROW(readParserBody(tooMany.data(), tooMany.size(), read, readSettings), EReadError);
}

TEST(ParserBody, CharacterRangesAndLongEndSequencesAreRejected)
{
    TParserTables tables;
    tables.keywords.push_back({"REM", tables.groups.registerGroup(TSM_CharGroup({' '}, false)), {0}, 9});
    TSM_Settings settings;
    std::vector<uint8_t> body = writeParserBody(tables, settings);
    const std::vector<uint8_t> plain = writeParserBody(TParserTables{}, settings);
    size_t at = 0;
    while (plain[at] == body[at])
        ++at;
    // Keyword list: case flag, count, str8 "REM", then the group's set and its range count.
    const size_t rangeCount = at + 8 - 4 + 1 + 3 + 32;
    ASSERT_EQ(body[rangeCount], 0);
    body[rangeCount] = 1;
    TParserTables read;
    EXPECT_THROW(readParserBody(body.data(), body.size(), read, settings), EReadError);

    ByteWriter out;
    out.u8(0);
    out.u8(0);
    out.u8(5);
    ByteReader in(out.data().data(), out.data().size());
    EXPECT_THROW(readEndPart(in, read.groups), EReadError);
}

TEST(ParserBody, KeywordTokensOutsideAByteAreRejected)
{
    TParserTables tables;
    tables.keywords.push_back({"REM", tables.groups.registerGroup(TSM_CharGroup({' '}, false)), {0}, 300});
    TSM_Settings settings;
    const std::vector<uint8_t> body = writeParserBody(tables, settings);
    TParserTables read;
    EXPECT_THROW(readParserBody(body.data(), body.size(), read, settings), EReadError);
}
