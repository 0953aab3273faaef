// Printing the control's text into a PDF through Qt's PDF printer and reading it back with
// poppler's tools: where the header, rule, text, line numbers and page numbers land, what a
// selection prints, how the print area places text, bold black keywords with MonoPrint, and a
// printer that fails leaving the screen as it was.
#include "MemoFixture.h"
#include "PdfReader.h"

#include "base/Stream.h"
#include "editor/edit/EditorOptions.h"
#include "highlight/languages/Languages.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "platform/QtPrinters.h"
#include "platform/TempFolder.h"

#include <QDate>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double pointsPerUnit = 72.0 / 600; // the test printer prints at 600 dpi

std::unique_ptr<TSourceMemoParser> zenBasic()
{
    auto parser = std::make_unique<TSourceMemoParser>();
    const auto stream = zenBasicParserStream();
    TReadOnlyMemoryStream bytes(stream.data(), static_cast<int64_t>(stream.size()));
    parser->LoadParser(bytes);
    return parser;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 100;
}

bool isColoured(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    return std::max({r, g, b}) - std::min({r, g, b}) > 60;
}

int countPixels(const QImage& image, bool (*test)(QRgb))
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// The share of dark pixels on row y of the picture between x0 and x1.
double darkShare(const QImage& image, int y, int x0, int x1)
{
    int dark = 0;
    for (int x = x0; x < x1; ++x)
        dark += isDark(image.pixel(x, y)) ? 1 : 0;
    return static_cast<double>(dark) / std::max(x1 - x0, 1);
}

// Line numbers and texts of the printed rows of a page as pdftotext lays them out: a number
// when the row starts with "n:", else 0.
struct LaidOutRow
{
    int64_t number = 0;
    std::string text;
};

std::vector<LaidOutRow> rowsOf(const std::string& page)
{
    static const QRegularExpression numbered(R"(^\s*(\d+):\s*(.*)$)");
    std::vector<LaidOutRow> rows;
    for (const QString& line : QString::fromStdString(page).split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        LaidOutRow row;
        const auto match = numbered.match(line);
        if (match.hasMatch()) {
            row.number = match.captured(1).toLongLong();
            row.text = match.captured(2).trimmed().toStdString();
        } else {
            row.text = line.trimmed().toStdString();
        }
        rows.push_back(row);
    }
    return rows;
}

class MemoPrint : public MemoFixture
{
protected:
    MemoPrint()
    {
        memo.SetParser(1, parser.get());
        QFont font("Courier New");
        font.setPixelSize(16);
        font.setStyleHint(QFont::TypeWriter);
        memo.SetEditorFont(font);
        memo.SetTitle("DEMO.BAS");
    }

    // A Letter sheet at 600 dpi: 5100 by 6600 units, 612 by 792 points.
    std::unique_ptr<QPrinter> pdfPrinter(const std::string& file)
    {
        TPageSetup setup;
        setup.ToPdf = true;
        setup.PdfFileName = file;
        setup.Resolution = 600;
        setup.PaperSize = QPageSize::Letter;
        return makePrinter(setup);
    }

    // Prints (the selection with selection) into name and reads it back.
    TPdfText print(const std::string& name, bool selection = false)
    {
        const std::string file = folder.path(name);
        std::unique_ptr<QPrinter> printer = pdfPrinter(file);
        memo.SetPrinter(printer.get());
        if (selection)
            memo.PrintSelection();
        else
            memo.Print();
        memo.SetPrinter(nullptr);
        return readPdfText(file);
    }

    TempFolder folder;
    std::unique_ptr<TSourceMemoParser> parser = zenBasic();
};

} // namespace

TEST_F(MemoPrint, HeaderHasTitleLeftDateRightARuleAndTheTextFromTheFourthLine)
{
    load("FIRST line\rSECOND line\rTHIRD\r");
    memo.SetOptions(smoPrintFilename | smoPrintDate | smoSyntaxHighlight);
    memo.SetPrintArea({600, 600, 4500, 6000}); // one inch in from each side
    const TPdfText pdf = print("header.pdf");
    ASSERT_TRUE(pdf.ok);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_NEAR(pdf.pageWidth, 612, 0.5);

    const TPdfWord* title = pdf.find("DEMO.BAS");
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->xMin, 72, 2);
    // The date and time end at the area's right edge, on the title's line.
    double lineEnd = 0;
    for (const TPdfWord& word : pdf.wordsOn(1))
        if (std::abs(word.yMin - title->yMin) < 1 && word.xMin > title->xMax)
            lineEnd = std::max(lineEnd, word.xMax);
    EXPECT_NEAR(lineEnd, 540, 3);
    const std::string firstLine = pdf.pages[0].substr(0, pdf.pages[0].find('\n'));
    EXPECT_NE(firstLine.find(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString() + " - "),
              std::string::npos)
        << firstLine;

    const TPdfWord* first = pdf.find("FIRST");
    const TPdfWord* second = pdf.find("SECOND");
    ASSERT_TRUE(first && second);
    const double lineHeight = second->yMin - first->yMin;
    ASSERT_GT(lineHeight, 8);
    EXPECT_NEAR(first->yMin - title->yMin, 3 * lineHeight, 0.5);
    // No page number: nothing is drawn below the last row of text (the " - " between the date
    // and the time is not a footer).
    const TPdfWord* third = pdf.find("THIRD");
    ASSERT_NE(third, nullptr);
    for (const TPdfWord& word : pdf.words)
        EXPECT_LE(word.yMin, third->yMin + 0.5) << word.text;

    // The rule: a dark line across the area two lines below its top, and nothing else dark
    // across the area above the text.
    const QImage page = pdfPageImage(folder.path("header.pdf"), 1, 144, folder.path());
    ASSERT_FALSE(page.isNull());
    const int ruleY = static_cast<int>((72 + 2 * lineHeight) * 2);
    double best = 0;
    for (int y = ruleY - 3; y <= ruleY + 3; ++y)
        best = std::max(best, darkShare(page, y, 72 * 2 + 2, 540 * 2 - 2));
    EXPECT_GT(best, 0.98);
    EXPECT_LT(darkShare(page, static_cast<int>((72 + 2.6 * lineHeight) * 2), 72 * 2, 540 * 2), 0.05);
    EXPECT_LT(darkShare(page, 72 * 2 + static_cast<int>(lineHeight * 2 * 1.5), 72 * 2, 540 * 2), 0.05);
}

TEST_F(MemoPrint, PageNumbersCentredAtTheBottomAndLineNumbersOnlyOnFirstRowsAcrossPages)
{
    std::string text;
    constexpr int lines = 130;
    for (int i = 1; i <= lines; ++i) {
        if (i % 10 == 0) {
            text += "long" + std::to_string(i);
            for (int w = 0; w < 30; ++w)
                text += " wrapword";
        } else {
            text += "line" + std::to_string(i);
        }
        text += "\r";
    }
    load(text);
    memo.SetOptions(smoPrintPageNos | smoPrintLineNos | smoPrintWrap | smoSyntaxHighlight);
    memo.SetPrintArea({600, 600, 4500, 6000});
    const TPdfText pdf = print("numbers.pdf");
    ASSERT_TRUE(pdf.ok);
    ASSERT_GE(pdf.pages.size(), 3u);

    std::vector<int64_t> numbers;
    int continuations = 0;
    for (size_t p = 0; p < pdf.pages.size(); ++p) {
        const int page = static_cast<int>(p) + 1;
        // The footer: the page's lowest three words "- n -", centred on the area.
        std::vector<TPdfWord> words = pdf.wordsOn(page);
        std::sort(words.begin(), words.end(), [](const TPdfWord& a, const TPdfWord& b) {
            return a.yMin != b.yMin ? a.yMin < b.yMin : a.xMin < b.xMin;
        });
        ASSERT_GE(words.size(), 3u);
        const TPdfWord& dash1 = words[words.size() - 3];
        const TPdfWord& number = words[words.size() - 2];
        const TPdfWord& dash2 = words.back();
        EXPECT_EQ(dash1.text + " " + number.text + " " + dash2.text, "- " + std::to_string(page) + " -");
        EXPECT_NEAR((dash1.xMin + dash2.xMax) / 2, 306, 3);
        // It sits low on the page, below every printed row, in the area's last three lines.
        const double lowestText = words[words.size() - 4].yMax;
        EXPECT_GT(number.yMin, lowestText);
        EXPECT_LT(number.yMax, 720);
        EXPECT_GT(number.yMin, 720 - 60);

        for (const LaidOutRow& row : rowsOf(pdf.pages[p])) {
            if (row.text.rfind("- ", 0) == 0)
                continue; // the footer
            if (row.number) {
                numbers.push_back(row.number);
                continue;
            }
            // A row without a number continues a long line.
            ++continuations;
            EXPECT_EQ(row.text.find("line"), std::string::npos) << row.text;
            EXPECT_NE(row.text.find("wrapword"), std::string::npos) << row.text;
        }
    }
    std::vector<int64_t> expected(lines);
    for (int i = 0; i < lines; ++i)
        expected[static_cast<size_t>(i)] = i + 1;
    EXPECT_EQ(numbers, expected);
    EXPECT_GE(continuations, lines / 10);
    // Every row fits between the area's edges.
    for (const TPdfWord& word : pdf.words) {
        EXPECT_GE(word.xMin, 72 - 0.5);
        EXPECT_LE(word.xMax, 540 + 0.5) << word.text;
    }
}

TEST_F(MemoPrint, SelectionEndingAtColumnOneDoesNotPrintThatLine)
{
    load("alpha\rbravo\rcharlie\rdelta\recho\r");
    memo.SetOptions(smoPrintLineNos | smoSyntaxHighlight);
    select(6, 20); // from the start of "bravo" to the start of "delta"
    TPdfText pdf = print("selection.pdf", true);
    ASSERT_TRUE(pdf.ok);
    std::vector<std::string> printed;
    for (const LaidOutRow& row : rowsOf(pdf.pages.at(0)))
        printed.push_back(std::to_string(row.number) + " " + row.text);
    EXPECT_EQ(printed, (std::vector<std::string>{"2 bravo", "3 charlie"}));

    select(21, 7); // one character into "delta" takes it along, either way round
    pdf = print("selection2.pdf", true);
    ASSERT_TRUE(pdf.ok);
    printed.clear();
    for (const LaidOutRow& row : rowsOf(pdf.pages.at(0)))
        printed.push_back(std::to_string(row.number) + " " + row.text);
    EXPECT_EQ(printed, (std::vector<std::string>{"2 bravo", "3 charlie", "4 delta"}));
}

TEST_F(MemoPrint, WithoutAPrintAreaTheWholePageIsUsed)
{
    std::string text = "TOPLEFT";
    for (int i = 0; i < 40; ++i)
        text += " word" + std::to_string(i);
    load(text + "\r");
    memo.SetOptions(smoPrintWrap | smoSyntaxHighlight);
    ASSERT_FALSE(memo.HasPrintArea());
    const TPdfText pdf = print("whole.pdf");
    ASSERT_TRUE(pdf.ok);
    const TPdfWord* topLeft = pdf.find("TOPLEFT");
    ASSERT_NE(topLeft, nullptr);
    EXPECT_LT(topLeft->xMin, 2);
    EXPECT_LT(topLeft->yMin, 12);
    // Wrapped at the sheet's right edge, not before the one-inch margin.
    double right = 0;
    for (const TPdfWord& word : pdf.words)
        right = std::max(right, word.xMax);
    EXPECT_GT(right, 540);
    EXPECT_LE(right, 612);
}

TEST_F(MemoPrint, MonoPrintKeepsBoldKeywordsButPrintsEveryStyleBlack)
{
    load("DECLARE XTAL = 4\rPRINT \"hello\" ' note 12\r");
    memo.SetOptions(smoSyntaxHighlight);
    memo.MonoPrint = true;
    TPdfText pdf = print("mono.pdf");
    ASSERT_TRUE(pdf.ok);
    ASSERT_NE(pdf.find("XTAL"), nullptr);
    EXPECT_NE(pdfFonts(folder.path("mono.pdf")).find("Bold"), std::string::npos);
    const QImage mono = pdfPageImage(folder.path("mono.pdf"), 1, 100, folder.path());
    ASSERT_FALSE(mono.isNull());
    EXPECT_GT(countPixels(mono, isDark), 100);
    EXPECT_EQ(countPixels(mono, isColoured), 0);

    memo.MonoPrint = false;
    pdf = print("colour.pdf");
    ASSERT_TRUE(pdf.ok);
    EXPECT_NE(pdfFonts(folder.path("colour.pdf")).find("Bold"), std::string::npos);
    const QImage colour = pdfPageImage(folder.path("colour.pdf"), 1, 100, folder.path());
    EXPECT_GT(countPixels(colour, isColoured), 20);
}

TEST_F(MemoPrint, HeaderFooterHandlerReplacesTheFrameAndSeesPrinterMetrics)
{
    load("body text\r");
    memo.SetOptions(smoPrintFilename | smoPrintDate | smoPrintPageNos | smoSyntaxHighlight);
    memo.SetPrintArea({600, 600, 4500, 6000});
    const int screenCharWidth = memo.CharWidth();
    int calls = 0;
    bool printingSeen = false;
    int printCharWidth = 0;
    memo.OnPrintHeaderFooter = [&](TSourceMemo* sender, QPainter* canvas, QRect& rect, bool& transparent) {
        ++calls;
        printingSeen = sender->Printing();
        printCharWidth = sender->CharWidth();
        EXPECT_EQ(rect, QRect(600, 600, 3900, 5400));
        canvas->drawText(QPoint(rect.left(), rect.top() + 100), "CUSTOM");
        rect.setTop(rect.top() + 1000);
        transparent = true;
    };
    const TPdfText pdf = print("custom.pdf");
    ASSERT_TRUE(pdf.ok);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(printingSeen);
    EXPECT_GT(printCharWidth, 4 * screenCharWidth); // printer units, not screen pixels
    EXPECT_FALSE(memo.Printing());
    EXPECT_EQ(memo.CharWidth(), screenCharWidth);
    EXPECT_NE(pdf.find("CUSTOM"), nullptr);
    EXPECT_EQ(pdf.find("DEMO.BAS"), nullptr);
    EXPECT_EQ(pdf.find("-"), nullptr);
    const TPdfWord* body = pdf.find("body");
    ASSERT_NE(body, nullptr);
    EXPECT_GE(body->yMin, (600 + 1000) * pointsPerUnit - 0.5);
}

TEST_F(MemoPrint, PrinterErrorRestoresScreenMetricsAndLeavesTheViewAsItWas)
{
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "IF x > " + std::to_string(i) + " THEN PRINT \"row\"\r";
    load(text);
    memo.SetOptions(memo.Options() | smoPrintWrap | smoPrintLineNos | smoShowGutter | smoLineNumbers);
    memo.SetTopRow(50);
    select(1000, 1010);
    QApplication::processEvents();
    const QImage before = memo.viewport()->grab().toImage();
    const int charWidth = memo.CharWidth();
    const int lineHeight = memo.LineHeight();

    std::unique_ptr<QPrinter> printer = pdfPrinter("/nonexistent-folder/inner/x.pdf");
    memo.SetPrinter(printer.get());
    EXPECT_THROW(memo.Print(), EPrintError);
    EXPECT_THROW(memo.PrintSelection(), EPrintError);
    EXPECT_FALSE(memo.Printing());
    EXPECT_EQ(memo.CharWidth(), charWidth);
    EXPECT_EQ(memo.LineHeight(), lineHeight);
    EXPECT_EQ(memo.TopRow(), 50);
    EXPECT_EQ(selection().Anchor, 1000);
    QApplication::processEvents();
    EXPECT_EQ(memo.viewport()->grab().toImage(), before);

    // No printer at all fails the same way.
    memo.SetPrinter(nullptr);
    EXPECT_THROW(memo.Print(), EPrintError);
    EXPECT_EQ(memo.CharWidth(), charWidth);
}
