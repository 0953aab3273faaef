// The Qt clipboard keeps the document's code-page bytes intact in every format, offers RTF
// and HTML under both names, and feeds a paste that prefers text over HTML.
#include "editor/edit/SourceEditor.h"
#include "editor/widget/QtClipboard.h"

#include "base/Stream.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <gtest/gtest.h>

TEST(QtClipboard, BytesSurviveEveryFormat)
{
    TQtClipboard clipboard;
    const std::string text = "caf\xE9 \x80 5\r\nnext";
    const std::string rtf = "{\\rtf1 caf\\'e9}";
    const std::string html = "<b>caf\xE9</b>";
    clipboard.SetContents({{TClipFormat::Text, text}, {TClipFormat::Rtf, rtf}, {TClipFormat::Html, html}});
    ASSERT_TRUE(clipboard.HasFormat(TClipFormat::Text));
    ASSERT_TRUE(clipboard.HasFormat(TClipFormat::Rtf));
    ASSERT_TRUE(clipboard.HasFormat(TClipFormat::Html));
    EXPECT_EQ(clipboard.Data(TClipFormat::Text), text);
    EXPECT_EQ(clipboard.Data(TClipFormat::Rtf), rtf);
    EXPECT_EQ(clipboard.Data(TClipFormat::Html), html);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    EXPECT_TRUE(data->hasFormat("text/rtf"));
    EXPECT_TRUE(data->hasFormat("text/html"));
    EXPECT_EQ(data->text(), QString::fromUtf8("caf\u00e9 \u20ac 5\r\nnext"));
}

TEST(QtClipboard, OtherProgramsHtmlIsReadAsUtf8)
{
    auto* data = new QMimeData;
    data->setHtml(QString::fromUtf8("<i>\u00e9</i>"));
    QApplication::clipboard()->setMimeData(data);
    TQtClipboard clipboard;
    EXPECT_FALSE(clipboard.HasFormat(TClipFormat::Text));
    EXPECT_EQ(clipboard.Data(TClipFormat::Html), "<i>\xE9</i>");
}

TEST(QtClipboard, EditorCopiesAndPastesThroughIt)
{
    TQtClipboard clipboard;
    TTextStore store;
    TSourceEditor editor(store, nullptr, &clipboard);
    const std::string text = "one\r\n\xE9two";
    TReadOnlyMemoryStream stream(text.data(), static_cast<int64_t>(text.size()));
    store.LoadFromStream(stream);
    editor.SelectAll();
    editor.CopyToClipboard();
    EXPECT_EQ(clipboard.Data(TClipFormat::Text), "one\r\n\xE9two");
    editor.SetSelStart(store.CharCount());
    editor.PasteFromClipboard();
    EXPECT_EQ(store.GetText(), "one\r\xE9twoone\r\xE9two");
    EXPECT_EQ(editor.check(), "");
}
