// Copy, cut and paste through a fake clipboard: formats offered, the text-before-HTML rule,
// the HTML reductions a drop handler asks for, and one undo step per paste and cut.
#include "EditTestSupport.h"

#include "editor/keys/KeyCommands.h"
#include "editor/text/SourceMemoErrors.h"

#include <new>

using ClipboardTest = EditorFixture;

TEST_F(ClipboardTest, CopyOffersTextWithCrLfAndRtf)
{
    load("ab\r\ncd");
    clipboard.formats[TClipFormat::Html] = "stale";
    editor.SetSelection(1, 4);
    run(cmdCopy);
    EXPECT_EQ(clipboard.Data(TClipFormat::Text), "b\r\nc");
    ASSERT_TRUE(clipboard.HasFormat(TClipFormat::Rtf));
    EXPECT_EQ(clipboard.Data(TClipFormat::Rtf).rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(clipboard.Data(TClipFormat::Rtf).find("b\\line"), std::string::npos);
    EXPECT_FALSE(clipboard.HasFormat(TClipFormat::Html));

    editor.Settings.ClipCopyFormats = smTEXT;
    run(cmdCopy);
    EXPECT_FALSE(clipboard.HasFormat(TClipFormat::Rtf));
    EXPECT_EQ(text(), "ab\rcd");
    EXPECT_FALSE(editor.Modified());
}

TEST_F(ClipboardTest, CutIsOneStep)
{
    load("hello world");
    editor.SetSelection(5, 11);
    run(cmdCut);
    EXPECT_EQ(text(), "hello");
    EXPECT_EQ(clipboard.Data(TClipFormat::Text), " world");
    editor.Undo();
    EXPECT_EQ(text(), "hello world");
    EXPECT_EQ(editor.Selection(), (TSelectionPair{5, 11}));
    EXPECT_FALSE(editor.Modified());
    editor.Settings.ReadOnly = true;
    run(cmdCut);
    EXPECT_EQ(text(), "hello world");
}

TEST_F(ClipboardTest, PastePrefersTextOverHtml)
{
    load("[]");
    clipboard.formats[TClipFormat::Text] = "one\r\ntwo";
    clipboard.formats[TClipFormat::Html] = "<b>html</b>";
    editor.SetSelection(1, 1);
    run(cmdPaste);
    EXPECT_EQ(text(), "[one\rtwo]");
    EXPECT_EQ(editor.SelCaret(), 8);
    editor.Undo();
    EXPECT_EQ(text(), "[]");
    editor.Redo();
    EXPECT_EQ(text(), "[one\rtwo]");
    expectSound();
}

// Pasting text with a NUL inside lost everything after the NUL.
TEST_F(ClipboardTest, PasteKeepsTheTextAfterANulShownAsADotAndDropsTheTerminatingNul)
{
    load("");
    clipboard.formats[TClipFormat::Text] = std::string("abc\0kept\0", 9);
    run(cmdPaste);
    EXPECT_EQ(text(), "abc.kept");
}

TEST_F(ClipboardTest, HtmlIsReducedOnlyWhenTheDropHandlerAsks)
{
    const std::string html = "Version:0.9\r\n<html><body><!--StartFragment-->frag<!--EndFragment-->"
                             "</body></html>";
    clipboard.formats[TClipFormat::Html] = html;
    load("");
    run(cmdPaste);
    EXPECT_EQ(text(), "Version:0.9\r" + html.substr(13));

    uint32_t seen = 0;
    editor.OnDataDrop = [&](uint32_t& flags) {
        seen = flags;
        flags |= dsHtmlFragment;
    };
    load("");
    run(cmdPaste);
    EXPECT_EQ(seen, dsHtml | dsPaste);
    EXPECT_EQ(text(), "frag");

    editor.OnDataDrop = [](uint32_t& flags) { flags |= dsHtmlFromTag; };
    load("");
    run(cmdPaste);
    EXPECT_EQ(text(), html.substr(13));

    // The raw flag keeps the data as it is.
    editor.OnDataDrop = [](uint32_t& flags) { flags |= dsHtmlFragment | dsRawHtml; };
    load("");
    run(cmdPaste);
    EXPECT_EQ(text(), "Version:0.9\r" + html.substr(13));

    // A handler may take every format away.
    editor.OnDataDrop = [](uint32_t& flags) { flags &= ~(dsText | dsHtml); };
    load("x");
    run(cmdPaste);
    EXPECT_EQ(text(), "x");
}

namespace {

class FailingClipboard : public FakeClipboard
{
public:
    std::string Data(TClipFormat) const override { throw std::bad_alloc(); }
};

} // namespace

TEST_F(ClipboardTest, UnbufferableDataIsReported)
{
    FailingClipboard failing;
    failing.formats[TClipFormat::Text] = "x";
    editor.SetClipboard(&failing);
    load("");
    try {
        editor.PasteFromClipboard();
        FAIL() << "no error";
    } catch (const ESourceMemo& e) {
        EXPECT_STREQ(e.what(), "Cannot alloc memory for buffer!!");
    }
    EXPECT_EQ(text(), "");
    editor.SetClipboard(&clipboard);
    EXPECT_EQ(editor.check(), "");
}
