// Highlighting as the control uses it, with the delivered ZENBASIC language: where the next pass
// starts, what the screen shows with highlighting switched off and on again, and the colours,
// font and title that RTF and HTML exports carry, rows never shown included.
#include "MemoFixture.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/edit/EditorOptions.h"
#include "highlight/ParserSettings.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/QtColors.h"

#include <QImage>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TSourceMemoParser> zenBasic()
{
    auto parser = std::make_unique<TSourceMemoParser>();
    const auto stream = zenBasicParserStream();
    TReadOnlyMemoryStream bytes(stream.data(), static_cast<int64_t>(stream.size()));
    parser->LoadParser(bytes);
    return parser;
}

// Keywords, numbers, strings and comments on every line.
std::string program(int lines)
{
    std::string text;
    for (int i = 0; i < lines; ++i)
        text += "IF x > " + std::to_string(i) + " THEN PRINT \"row\" ' note " + std::to_string(i) + "\r";
    return text;
}

class MemoHighlight : public MemoFixture
{
protected:
    MemoHighlight() { memo.SetParser(1, parser.get()); }

    std::vector<uint8_t> tokensOfRow(int64_t row) const
    {
        const TTextRow* r = memo.Store().RowByIndex(row).Row;
        if (!r->HasAttrs())
            return {};
        std::vector<uint8_t> tokens(r->Length);
        r->CopyAttrs(tokens.data());
        return tokens;
    }
    // Paints the control as the screen would and answers the picture.
    static QImage shot(TSourceMemo& control) { return control.viewport()->grab().toImage(); }

    std::unique_ptr<TSourceMemoParser> parser = zenBasic();
};

} // namespace

TEST_F(MemoHighlight, ReparseFromMessageSetsTheRowTheNextPassStartsAt)
{
    load(program(12));
    shot(memo);
    const std::vector<uint8_t> coloured = tokensOfRow(5);
    ASSERT_FALSE(coloured.empty());
    const std::vector<uint8_t> zeros(coloured.size(), 0);
    memo.Store().SetAttrs(memo.Store().RowByIndex(5).Row, zeros.data());

    EXPECT_EQ(send(SM_REPARSEFROM, smSet, 5), 5);
    EXPECT_EQ(memo.ReparseFrom(), 5);
    memo.Rehighlight();
    EXPECT_EQ(tokensOfRow(5), coloured);
    EXPECT_EQ(send(SM_REPARSEFROM), -1); // the pass ran: nothing pending
    EXPECT_EQ(send(SM_REPARSEFROM, smSet, 500), 11); // clamped to the last row

    auto other = std::make_unique<TTextStore>();
    send(SM_TEXTSTORE, 1, ptr(&other)); // a new document has nothing pending
    EXPECT_EQ(send(SM_REPARSEFROM), -1);
}

TEST_F(MemoHighlight, HighlightingSwitchedOffLeftStaleColours)
{
    load(program(12));
    shot(memo); // every visible row coloured
    memo.SetOptions(memo.Options() & ~smoSyntaxHighlight);
    memo.Editor().SetSelection(3, 3);
    memo.Editor().KeyPress('y'); // an edit while off

    // Off: every row as a control without a language paints it.
    TSourceMemo plain;
    plain.resize(memo.size());
    plain.show();
    plain.SetOptions(memo.Options());
    plain.Store().InsertText(0, memo.Store().GetText());
    EXPECT_TRUE(shot(memo) == shot(plain));

    // On again: every row as a freshly loaded, highlighted control paints it.
    memo.SetOptions(memo.Options() | smoSyntaxHighlight);
    TSourceMemo fresh;
    fresh.resize(memo.size());
    fresh.show();
    auto freshParser = zenBasic();
    fresh.SetParser(1, freshParser.get());
    const std::string text = memo.Store().GetText();
    Perform(fresh, WM_SETTEXT, 0, reinterpret_cast<TLParam>(text.c_str()));
    EXPECT_TRUE(shot(memo) == shot(fresh));
    EXPECT_FALSE(shot(memo) == shot(plain));
}

TEST_F(MemoHighlight, RtfAndHtmlExportsCarryTheLanguagesStylesAndTheTitle)
{
    load(program(400)); // far more rows than the view shows
    memo.SetTitle("THERMO.BAS");
    shot(memo);
    const int64_t last = memo.Store().RowCount() - 1;
    ASSERT_TRUE(tokensOfRow(last).empty()); // never shown, never highlighted

    memo.Editor().SelectAll();
    std::string rtf;
    send(SM_GETSELTEXT, smfRTF, ptr(&rtf));
    const std::vector<uint8_t> tokens = tokensOfRow(last);
    ASSERT_FALSE(tokens.empty()); // the export coloured it first
    const std::string font = Format("\\fcharset%d Courier New;", memo.ActiveSettings().font.charset);
    EXPECT_NE(rtf.find(font), std::string::npos);
    EXPECT_NE(rtf.find("\\b "), std::string::npos); // ZENBASIC shows keywords in bold

    // HTML names the title, and the comment ending the last row is in the comment's colour.
    memo.Store().SetSaveFormat(sfHTML);
    TMemoryStream stream;
    memo.Store().SaveToStream(&stream);
    const std::string html = stream.AsString();
    EXPECT_NE(html.find("<TITLE>THERMO.BAS</TITLE>"), std::string::npos);
    const TTextRow* row = memo.Store().RowByIndex(last).Row;
    const std::string lastRow(row->Text(), static_cast<size_t>(row->TextLength()));
    const size_t comment = lastRow.find('\'');
    const TSM_Settings& settings = memo.ActiveSettings();
    const QColor commentColour =
        colorFromColorRef(settings.styles[settings.tokenStyles[tokens[comment]]].foreground);
    ASSERT_NE(commentColour, QColor(Qt::black));
    const std::string written = Format("<FONT COLOR=\"#%.6x\">", commentColour.rgb() & 0xFFFFFF) + lastRow.substr(comment);
    EXPECT_NE(html.find(written + "</FONT>"), std::string::npos) << written;
}

// The main window asks for SelLength on every change, and hosts ask for the text length: with
// the whole of a large document selected neither may walk or copy it.
TEST_F(MemoHighlight, SelLengthAndTextLengthWalkedTheWholeDocument)
{
    memo.SetParser(1, nullptr);
    load(program(120000)); // about 5 MB
    memo.Editor().SelectAll();
    const auto started = std::chrono::steady_clock::now();
    int64_t sum = 0;
    for (int i = 0; i < 100; ++i)
        sum += memo.Editor().SelLength() + send(WM_GETTEXTLENGTH);
    const auto spent = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(sum, 100 * 2 * (memo.Store().CharCount() + 120000));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count(), 20);
}

// Regression: after the settings were applied again every row waits to be coloured anew, and a
// pass ends at the first row that comes out as it was. Painting ran one pass and stopped
// looking, so rows shown for the first time later (a smaller font, a taller window) stayed
// uncoloured.
TEST_F(MemoHighlight, RowsFirstShownAfterTheSettingsWereAppliedAgainAreColoured)
{
    memo.resize(400, 100);
    load(program(60));
    shot(memo);
    parser->ApplyToEditors();
    shot(memo);
    memo.resize(400, 900);
    shot(memo);
    const int64_t last = memo.TopRow() + memo.VisibleRows() - 1;
    ASSERT_GT(last, 30);
    for (const int64_t row : {int64_t(10), last})
        EXPECT_FALSE(tokensOfRow(row).empty()) << "row " << row;
}
