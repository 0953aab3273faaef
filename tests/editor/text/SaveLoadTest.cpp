// Loading, saving and the exact bytes of every writer.
#include "StoreTestSupport.h"

#include "base/Exception.h"
#include "base/Stream.h"
#include "editor/text/EdStream.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/text/StyleSource.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Three styles: bold blue, italic green, underlined red on cyan; tokens 1..3 map to them.
class FixedStyles : public TStyleSource
{
public:
    TTextStyle DefaultStyle() const override { return {}; }
    int StyleCount() const override { return 3; }
    TTextStyle Style(int index) const override
    {
        switch (index) {
        case 0: return {0xFF0000, 0xFFFFFF, true, false, false};
        case 1: return {0x008000, 0xFFFFFF, false, true, false};
        default: return {0x0000FF, 0xFFFF00, false, false, true};
        }
    }
    int StyleOfToken(uint8_t token) const override { return token >= 1 && token <= 3 ? token - 1 : -1; }
    std::string FontName() const override { return "Courier New"; }
    int FontSize() const override { return 10; }
    int FontCharset() const override { return 0; }
    std::string Title() const override { return "T<1>.bas"; }
    std::string DateTimeText() const override { return "2026-12-07 10:00:00"; }
};

void setTokens(TTextStore& store, TTextRow* row, std::vector<uint8_t> tokens)
{
    tokens.resize(row->Length);
    store.SetAttrs(row, tokens.data());
}

// "IF x" / "' c" / "\"a{\\}" with keyword, comment and string tokens.
void fillStyled(TTextStore& store)
{
    store.InsertText(0, "IF x\r' c\r\"a{\\}");
    TTextRow* row = store.FirstRow();
    setTokens(store, row, {1, 1, 0, 0, 0});
    setTokens(store, row->Next, {2, 2, 2, 0});
    setTokens(store, row->Next->Next, {3, 3, 3, 3, 3});
}

std::string saved(TTextStore& store, TSaveFormat format)
{
    TMemoryStream stream;
    store.SetSaveFormat(format);
    const int64_t written = store.SaveToStream(&stream);
    EXPECT_EQ(written, stream.Size());
    return stream.AsString();
}

// Accepts at most `limit` bytes per attempt during the first `failures` attempts.
class RefusingStream : public TMemoryStream
{
public:
    RefusingStream(int failures, int64_t limit) : m_failures(failures), m_limit(limit) {}
    int64_t Write(const void* buffer, int64_t count) override
    {
        if (Position() == m_origin)
            ++attempts;
        if (attempts <= m_failures) {
            const int64_t room = std::max<int64_t>(0, m_origin + m_limit - Position());
            return TMemoryStream::Write(buffer, std::min(count, room));
        }
        return TMemoryStream::Write(buffer, count);
    }
    int attempts = 0;

private:
    int m_failures;
    int64_t m_limit;
    int64_t m_origin = 3;

public:
    void prime() { TMemoryStream::Write("pre", 3); }
};

class ThrowingStream : public TMemoryStream
{
public:
    int64_t Read(void*, int64_t) override { throw std::bad_alloc(); }
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path freshFolder(const std::string& name)
{
    const fs::path folder = fs::temp_directory_path() / ("zbx-store-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

} // namespace

TEST(SaveText, LineEndsFollowFormatAndLineStyle)
{
    TTextStore store;
    store.InsertText(0, "a\r\nb");
    EXPECT_EQ(saved(store, sfTEXT), "a\r\nb");
    EXPECT_EQ(saved(store, sfUNIX), "a\nb");
    store.SetLineStyle(lsLF);
    EXPECT_EQ(saved(store, sfTEXT), "a\rb");
    store.InsertText(store.CharCount(), "\r");
    EXPECT_EQ(saved(store, sfUNIX), "a\nb\n");
}

TEST(SaveText, ForcedSplitRowsAreWrittenAsOneLine)
{
    TTextStore store;
    const std::string line(5000, 'q');
    store.InsertText(0, line + "\r\n" + line);
    EXPECT_EQ(saved(store, sfTEXT), line + "\r\n" + line);
    EXPECT_EQ(saved(store, sfUNIX), line + "\n" + line);
}

TEST(SaveText, RangeWritesPartsOfTheFirstAndLastRow)
{
    TTextStore store;
    store.InsertText(0, "hello\rworld\rend");
    TMemoryStream stream;
    EXPECT_EQ(store.WriteRange(stream, 8, 3, sfTEXT), 6);
    EXPECT_EQ(stream.AsString(), "lo\r\nwo");
    TMemoryStream unix;
    store.WriteRange(unix, 5, 12, sfUNIX);
    EXPECT_EQ(unix.AsString(), "\nworld\n");
}

TEST(SaveRtf, WritesFontColourTableStylesAndEscapes)
{
    TTextStore store;
    FixedStyles styles;
    store.SetStyleSource(&styles);
    fillStyled(store);
    EXPECT_EQ(saved(store, sfRTF),
              "{\\rtf1 \\deff1{\\fonttbl {\\f1 \\fnil\\fcharset0 Courier New;}}\r\n"
              "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue255;"
              "\\red0\\green128\\blue0;\\red255\\green0\\blue0;\\red0\\green255\\blue255;}\r\n"
              "{\\f1\\fs20\\cf0\\cb1 \\b \\cf2 IF\\b0 \\cf0  x\\line \r\n"
              "\\i \\cf3 \\'27 c\\i0 \\cf0 \\line \r\n"
              "\\ul \\cf4 \\cb5 \"a\\{\\\\\\}\r\n"
              "}}");
}

TEST(SaveRtf, RowsWithoutTokensUseTheDefaultStyleAndTabsAreWords)
{
    TTextStore store;
    store.InsertText(0, "\tx");
    EXPECT_EQ(saved(store, sfRTF),
              "{\\rtf1 \\deff1{\\fonttbl {\\f1 \\fnil\\fcharset0 Courier New;}}\r\n"
              "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"
              "{\\f1\\fs20\\cf0\\cb1 \\tab x\r\n}}");
}

TEST(SaveHtml, WritesHeaderRunsAndEscapes)
{
    TTextStore store;
    FixedStyles styles;
    store.SetStyleSource(&styles);
    fillStyled(store);
    EXPECT_EQ(saved(store, sfHTML),
              "<HTML><HEAD>\r\n"
              "<META NAME=\"GENERATOR\" CONTENT=\"TCustomSourceMemo - zbxedit@users.sourceforge.net\">\r\n"
              "<TITLE>T&lt;1&gt;.bas</TITLE>\r\n"
              "<META NAME=\"Date\" CONTENT=\"2026-12-07 10:00:00\">\r\n"
              "</HEAD>\r\n"
              "<BODY TEXT=\"#000000\" BGCOLOR=\"#ffffff\">\r\n"
              "<PRE><FONT FACE=\"Courier New\">\r\n"
              "</FONT><FONT COLOR=\"#0000ff\"><B>IF</FONT><FONT COLOR=\"#000000\"></B> x\r\n"
              "</FONT><FONT COLOR=\"#008000\"><I>' c</FONT><FONT COLOR=\"#000000\"></I>\r\n"
              "</FONT><FONT COLOR=\"#ff0000\"><U>&quot;a{\\}"
              "</PRE></FONT></BODY></HTML>\r\n");
}

TEST(SaveHtml, EscapesCharactersAndJoinsForcedSplitRows)
{
    TTextStore store;
    FixedStyles styles;
    store.SetStyleSource(&styles);
    store.InsertText(0, "x<y>&\"\t\xA0\r" + std::string(2100, 'z'));
    const std::string html = saved(store, sfHTML);
    const std::string body = html.substr(html.find("Courier New\">\r\n") + 15);
    EXPECT_EQ(body, "x&lt;y&gt;&amp;&quot;&nbsp;&nbsp;\r\n" + std::string(2100, 'z') +
                        "</PRE></FONT></BODY></HTML>\r\n");
}

TEST(SaveStream, NullStreamAndStreamsThatRefuseBytes)
{
    TTextStore store;
    store.InsertText(0, "some text\rmore");
    try {
        store.SaveToStream(nullptr);
        FAIL() << "null stream accepted";
    } catch (const EFileSaveError& e) {
        EXPECT_EQ(e.Message(), "Bad TStream instance");
    }

    RefusingStream always(100, 4);
    always.prime();
    try {
        store.SaveToStream(&always);
        FAIL() << "short writes reported as success";
    } catch (const EFileSaveError& e) {
        EXPECT_EQ(e.Message(), "Could not save text to stream");
    }
    EXPECT_EQ(always.attempts, 4);

    // A stream that drops only the last byte is caught too, although it grew by as many bytes
    // as the document has characters.
    RefusingStream lastByte(1, 14);
    lastByte.prime();
    EXPECT_EQ(store.SaveToStream(&lastByte), 15);
    EXPECT_EQ(lastByte.attempts, 2);
    EXPECT_EQ(lastByte.AsString(), "presome text\r\nmore");
}

TEST(SaveStream, SavingAndLoadingClearTheUndoLog)
{
    int clears = 0;
    TTextStore store;
    store.SetUndoStack(std::make_unique<CountingUndo>(clears));
    TMemoryStream out;
    store.InsertText(0, "x");
    store.SaveToStream(&out);
    EXPECT_EQ(clears, 2);
    TMemoryStream in(std::vector<uint8_t>{'y'});
    store.LoadFromStream(in);
    EXPECT_EQ(clears, 4);
}

TEST(LoadStream, ReplacesTheDocumentAndTellsViewsAndListener)
{
    TTextStore store;
    RecordingView view;
    store.RegisterView(&view);
    std::vector<std::pair<int64_t, int64_t>> changes;
    store.InsertText(0, "old");
    store.OnTextChange = [&](int64_t p, int64_t n) { changes.emplace_back(p, n); };
    const std::string text = "new\r\nlines\n";
    TMemoryStream in(std::vector<uint8_t>(text.begin(), text.end()));
    store.LoadFromStream(in);
    EXPECT_EQ(store.GetText(), "new\rlines\r");
    EXPECT_EQ(view.loaded, 1);
    EXPECT_EQ(changes, (std::vector<std::pair<int64_t, int64_t>>{{0, -3}, {0, 10}}));
    TMemoryStream empty;
    store.LoadFromStream(empty);
    EXPECT_EQ(store.RowCount(), 0);
    EXPECT_EQ(store.check(), "");
    store.UnregisterView(&view);
}

TEST(LoadStream, LineBreakPairSplitByTheReadBlockIsOneBreak)
{
    for (const std::string pair : {"\r\n", "\n\r"}) {
        const std::string text = std::string(8191, 'a') + pair + "b";
        TTextStore store;
        TMemoryStream in(std::vector<uint8_t>(text.begin(), text.end()));
        store.LoadFromStream(in);
        EXPECT_EQ(store.CharCount(), 8193);
        EXPECT_EQ(rowLengths(store), (std::vector<int>{2047, 2047, 2047, 2047, 4, 1}));
        EXPECT_EQ(store.check(), "");
    }
}

TEST(LoadStream, ControlBytesInAFileBecomeDots)
{
    const std::string text("a\0b\x04\tc", 6);
    TTextStore store;
    TMemoryStream in(std::vector<uint8_t>(text.begin(), text.end()));
    store.LoadFromStream(in);
    EXPECT_EQ(store.GetText(), "a.b.\tc");
    EXPECT_NE(store.FirstRow()->Flags & rfHasTab, 0u);
}

TEST(LoadStream, RunningOutOfMemoryIsReportedAndLeavesAnEmptyStore)
{
    TTextStore store;
    store.InsertText(0, "before");
    ThrowingStream in;
    try {
        store.LoadFromStream(in);
        FAIL() << "no error";
    } catch (const ESourceMemo& e) {
        EXPECT_EQ(e.Message(), "Not enough memory for operation");
    }
    EXPECT_EQ(store.CharCount(), 0);
    EXPECT_EQ(store.check(), "");
}

TEST(Files, LoadMissingFileNamesIt)
{
    TTextStore store;
    try {
        store.LoadFromFile("/nonexistent-zbx/none.bas");
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "File '/nonexistent-zbx/none.bas' cannot be opened for reading");
    }
}

TEST(Files, SaveThenLoadRoundTripsAndReportsTheName)
{
    const fs::path folder = freshFolder("roundtrip");
    const std::string name = (folder / "prog.bas").string();
    TTextStore store;
    RecordingView view;
    store.RegisterView(&view);
    store.InsertText(0, "10 PRINT \"HI\"\r\n20 GOTO 10\r\n");
    store.SaveToFile(name);
    EXPECT_EQ(readFile(name), "10 PRINT \"HI\"\r\n20 GOTO 10\r\n");
    TTextStore loaded;
    loaded.RegisterView(&view);
    loaded.LoadFromFile(name);
    EXPECT_EQ(loaded.GetText(), store.GetText());
    EXPECT_EQ(view.fileNames, (std::vector<std::string>{name, name}));
    store.UnregisterView(&view);
    loaded.UnregisterView(&view);
    fs::remove_all(folder);
}

TEST(Files, SaveIntoMissingFolderFailsWithoutCreatingAnything)
{
    TTextStore store;
    store.InsertText(0, "text");
    EXPECT_THROW(store.SaveToFile("/nonexistent-zbx/out.bas"), EStreamError);
    EXPECT_FALSE(fs::exists("/nonexistent-zbx"));
}

TEST(Files, SaveThatFailsMidwayKeepsThePreviousFile)
{
    const fs::path folder = freshFolder("midway");
    const fs::path target = folder / "keep.bas";
    std::ofstream(target, std::ios::binary) << "previous version";
    TTextStore store;
    store.InsertText(0, std::string(300000, 'n'));

    // The file size limit makes the disk refuse the write part of the way through.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 70000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool failed = false;
    try {
        store.SaveToFile(target.string());
    } catch (const Exception&) {
        failed = true;
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(readFile(target), "previous version");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++files;
    EXPECT_EQ(files, 1); // no temporary file left behind
    fs::remove_all(folder);
}
