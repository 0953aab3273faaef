// Where the control's settings live: in its own settings object until a parser is attached,
// then in the parser's, which every control showing that parser shares.
#include "MemoFixture.h"

#include "editor/edit/EditorOptions.h"
#include "editor/keys/KeyCommands.h"
#include "editor/widget/SourceMemoProperties.h"
#include "highlight/ParserSettings.h"
#include "highlight/runtime/SourceMemoParser.h"

namespace {

class SettingsTest : public MemoFixture
{
protected:
    SettingsTest()
    {
        TSM_Settings& settings = parser.Settings();
        settings.options = static_cast<int32_t>(kDefaultOptionWord | smoWordWrap | smoLineNumbers);
        settings.wordWrapColumn = 10;
        settings.indentStep = 8;
        settings.tabDefault = 6;
        settings.tabStops.fill(-1);
        settings.tabStops[0] = 2;
        settings.gutterWidth = 40;
        settings.rightMargin = 72;
    }
    TSourceMemoParser parser;
};

} // namespace

TEST_F(SettingsTest, AttachingAParserTakesItsSettingsAndDetachingGivesTheOwnOnesBack)
{
    memo.SetOptions(memo.Options() & ~smoWordWrap);
    SetIndentStep(memo, 3);
    load("alpha beta gamma delta epsilon");
    ASSERT_EQ(memo.Store().RowCount(), 1);
    EXPECT_NE(&memo.ActiveSettings(), &parser.Settings()); // the control's own
    EXPECT_EQ(memo.ActiveSettings().indentStep, 3);

    memo.SetParser(1, &parser);
    EXPECT_EQ(&memo.ActiveSettings(), &parser.Settings());
    EXPECT_TRUE(memo.Options() & smoWordWrap);
    EXPECT_EQ(memo.WrapAtColumn(), 10);
    EXPECT_GT(memo.Store().RowCount(), 2); // wrapped at ten columns at once
    EXPECT_EQ(IndentStep(memo), 8);
    EXPECT_EQ(TabColumns(memo), "3");
    EXPECT_EQ(TabDefault(memo), 6);
    EXPECT_EQ(memo.Gutter(), 40);
    EXPECT_EQ(memo.RightMargin(), 72);

    // Setters now write the parser's settings.
    SetIndentStep(memo, 4);
    memo.SetRightMargin(60);
    SetTabColumns(memo, "9 17");
    EXPECT_EQ(parser.Settings().indentStep, 4);
    EXPECT_EQ(parser.Settings().rightMargin, 60);
    EXPECT_EQ(parser.Settings().tabStops[1], 16);

    memo.SetParser(1, nullptr);
    EXPECT_EQ(IndentStep(memo), 3);
    EXPECT_FALSE(memo.Options() & smoWordWrap);
    EXPECT_EQ(memo.Store().RowCount(), 1); // joined back
    expectSound();
}

TEST_F(SettingsTest, ControlsSharingAParserSeeAChangeWhenTheyApplySettings)
{
    memo.SetParser(1, &parser);
    TSourceMemo other;
    other.resize(400, 300);
    other.SetParser(1, &parser);
    memo.SetOptions(memo.Options() & ~smoWordWrap);
    SetTabDefault(memo, 3);
    EXPECT_TRUE(other.Options() & smoWordWrap); // not yet applied there
    Perform(other, SM_APPLYSETTINGS);
    EXPECT_FALSE(other.Options() & smoWordWrap);
    EXPECT_EQ(TabDefault(other), 3);
    // A change made to the parser's settings directly shows after SM_APPLYSETTINGS.
    parser.Settings().gutterWidth = 0;
    send(SM_APPLYSETTINGS);
    EXPECT_EQ(memo.TextLeft(), memo.Margin());
    other.SetParser(1, nullptr);
}

TEST_F(SettingsTest, TheActiveSettingsKeyMapDrivesTheKeys)
{
    load("abc");
    memo.show();
    memo.setFocus();
    QApplication::setActiveWindow(&memo);
    QTest::qWait(10);
    // Ctrl+F12 ends the row in this parser's map; the control's own map knows no Ctrl+F12.
    parser.Settings().keyMap.bindings.push_back({static_cast<uint16_t>((vk::F1 + 11) | vk::scCtrl), 0, cmdLineEnd});
    memo.Editor().SetSelection(0, 0);
    QTest::keyClick(&memo, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(memo.Editor().SelCaret(), 0);
    memo.SetParser(1, &parser);
    memo.setFocus();
    QTest::qWait(10);
    memo.Editor().SetSelection(0, 0);
    QTest::keyClick(&memo, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(memo.Editor().SelCaret(), 3);
    EXPECT_EQ(stored(), "abc");
    // Detached, the control's own keys come back.
    memo.SetParser(1, nullptr);
    memo.Editor().SetSelection(0, 0);
    QTest::keyClick(&memo, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(memo.Editor().SelCaret(), 0);
}
