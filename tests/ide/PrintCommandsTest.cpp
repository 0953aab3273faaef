// File > Print and Print Setup in the program started through its composition root, with
// scripted printers: the page set-up record, the print area the margins give, the boxes shown
// when there is nowhere to print, a failing printer, and Print selection from the keyboard.
#include "ProgramFixture.h"

#include "editor/widget/PdfReader.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QPageSize>
#include <QToolButton>

#include <filesystem>

namespace {

class PrintCommandsTest : public ProgramFixture
{
protected:
    PrintCommandsTest()
    {
        writeIni("[PROGRAMMER]\r\nTYPE=EPIC\r\n");
        m_form = &start();
        writeWholeFile(m_app.path("DEMO.BAS"), "DEVICE 16F84\r\nPRINT \"hello\"\r\nEND\r\n");
        EXPECT_TRUE(m_form->OpenFile(QString::fromStdString(m_app.path("DEMO.BAS"))));
    }

    static TPageSetup pdfSetup(const std::string& file, int margin)
    {
        TPageSetup setup;
        setup.ToPdf = true;
        setup.PdfFileName = file;
        setup.Resolution = 600;
        setup.PaperSize = QPageSize::Letter;
        setup.MarginLeft = setup.MarginTop = setup.MarginRight = setup.MarginBottom = margin;
        return setup;
    }
    void printSetup(const TPageSetup& answer)
    {
        m_printers.answer(answer);
        m_form->action("PrintSetup1")->trigger();
    }
    void print() { m_form->toolButton("PrintButton")->click(); }

    // The first word of the header (the file's name) and the page number.
    struct Placed
    {
        TPdfWord title, pageNumber;
        double right = 0; // where the header's date ends
    };
    Placed placed(const std::string& file)
    {
        const TPdfText pdf = readPdfText(file);
        EXPECT_TRUE(pdf.ok);
        Placed at;
        if (pdf.words.size() < 4)
            return at;
        at.title = pdf.words.front();
        for (const TPdfWord& word : pdf.words) {
            if (std::abs(word.yMin - at.title.yMin) < 1)
                at.right = std::max(at.right, word.xMax);
            if (word.text == "1" && word.yMin > at.pageNumber.yMin)
                at.pageNumber = word;
        }
        return at;
    }

    TEditorMainForm* m_form = nullptr;
};

} // namespace

TEST_F(PrintCommandsTest, PrintAndPrintSetupAreOfferedAndPreviewStaysHidden)
{
    m_form->SourceMemo1Change();
    EXPECT_TRUE(m_form->toolButton("PrintButton")->isEnabled());
    EXPECT_TRUE(m_form->action("Print1")->isEnabled());
    EXPECT_TRUE(m_form->action("PrintSetup1")->isEnabled());
    EXPECT_TRUE(m_form->action("Print1")->isVisible());
    EXPECT_FALSE(m_form->action("PrintPreview1")->isVisible());
    EXPECT_FALSE(m_form->action("PrintPreview1")->isEnabled());
    EXPECT_FALSE(m_form->toolButton("PreviewButton")->isVisibleTo(m_form));
    EXPECT_EQ(m_form->toolButton("PrintButton")->toolTip(), "Print current file");
    EXPECT_EQ(m_form->action("PrintSetup1")->statusTip(), "Set printer options");
}

TEST_F(PrintCommandsTest, WithoutAnyPrinterPrintAndPrintSetupSaySoAndCancelChangesNothing)
{
    const TPageSetup before = m_form->pageSetup();
    m_boxes.answer(TMessageResult::Ok);
    print();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Information);
    EXPECT_NE(m_boxes.shown()[0].text.find("No printer is installed."), std::string::npos);
    EXPECT_NE(m_boxes.shown()[0].text.find("PDF file"), std::string::npos);

    m_boxes.answer(TMessageResult::Ok);
    m_printers.answer(std::nullopt);
    m_form->action("PrintSetup1")->trigger();
    ASSERT_EQ(m_boxes.shown().size(), 2u);
    EXPECT_NE(m_boxes.shown()[1].text.find("No printer is installed."), std::string::npos);
    ASSERT_EQ(m_printers.dialogsShown().size(), 1u);
    EXPECT_EQ(m_printers.dialogsShown()[0], before);
    EXPECT_EQ(m_form->pageSetup(), before);

    // A printer the record names that is gone is named in the box.
    TPageSetup gone;
    gone.PrinterName = "Office";
    m_printers.Installed = {"Hall"};
    printSetup(gone);
    m_boxes.answer(TMessageResult::Ok);
    print();
    EXPECT_NE(m_boxes.shown().back().text.find("\"Office\" is not installed"), std::string::npos);
}

TEST_F(PrintCommandsTest, OneInchMarginsMoveEveryEdgeByThePrintersResolution)
{
    m_printers.Installed = {"Hall"}; // Print Setup asks nothing first
    // Before any margins: the whole sheet.
    const std::string whole = m_app.path("whole.pdf");
    printSetup(pdfSetup(whole, 0));
    print();
    ASSERT_TRUE(std::filesystem::exists(whole));
    EXPECT_TRUE(m_boxes.shown().empty());
    const Placed sheet = placed(whole);

    // The dialog starts from the record; one inch all round at 600 dpi is 600 units, 72 points.
    const std::string inch = m_app.path("inch.pdf");
    printSetup(pdfSetup(inch, 1000));
    EXPECT_EQ(m_printers.dialogsShown().back(), pdfSetup(whole, 0));
    EXPECT_EQ(m_form->pageSetup(), pdfSetup(inch, 1000));
    print();
    const Placed inset = placed(inch);
    EXPECT_NEAR(sheet.title.xMin, 0, 1);
    EXPECT_NEAR(inset.title.xMin - sheet.title.xMin, 72, 0.5);
    EXPECT_NEAR(inset.title.yMin - sheet.title.yMin, 72, 0.5);
    EXPECT_NEAR(sheet.right, 612, 3);
    EXPECT_NEAR(sheet.right - inset.right, 72, 0.5);
    EXPECT_NEAR(sheet.pageNumber.yMin - inset.pageNumber.yMin, 72, 0.5);
    EXPECT_EQ(m_form->SourceMemo1->PrintArea(), (TPrintRect{600, 600, 4500, 6000}));

    // Cancel keeps the record and the printer.
    m_printers.answer(std::nullopt);
    m_form->action("PrintSetup1")->trigger();
    EXPECT_EQ(m_form->pageSetup(), pdfSetup(inch, 1000));
}

TEST_F(PrintCommandsTest, APrintThatFailsIsReportedAndTheEditorKeepsItsLook)
{
    const int charWidth = m_form->SourceMemo1->CharWidth();
    m_printers.Installed = {"Hall"};
    printSetup(pdfSetup("/nonexistent-folder/inner/out.pdf", 0));
    m_boxes.answer(TMessageResult::Ok);
    print();
    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown()[0].kind, TMessageKind::Error);
    EXPECT_NE(m_boxes.shown()[0].text.find("/nonexistent-folder/inner/out.pdf"), std::string::npos);
    EXPECT_FALSE(m_form->SourceMemo1->Printing());
    EXPECT_EQ(m_form->SourceMemo1->CharWidth(), charWidth);
}

TEST_F(PrintCommandsTest, PrintSelectionKeyPrintsTheSelectedLinesOnTheChosenPrinter)
{
    const std::string file = m_app.path("selection.pdf");
    m_printers.Installed = {"Hall"};
    printSetup(pdfSetup(file, 500));
    TSourceMemo& memo = *m_form->SourceMemo1;
    memo.Editor().SetSelection(13, 27); // "PRINT ..." up to the start of "END"
    memo.setFocus();
    QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_P);
    ASSERT_TRUE(std::filesystem::exists(file));
    const TPdfText pdf = readPdfText(file);
    ASSERT_TRUE(pdf.ok);
    EXPECT_NE(pdf.find("\"hello\""), nullptr);
    EXPECT_EQ(pdf.find("DEVICE"), nullptr);
    EXPECT_EQ(pdf.find("END"), nullptr);
    // The editor's font (whatever the settings chose) prints at the size it has on the screen;
    // "     2:" starts at the half-inch margin and the text ten characters further on.
    const TPdfWord* number = pdf.find("2:");
    const TPdfWord* keyword = pdf.find("PRINT");
    ASSERT_TRUE(number && keyword);
    const double charWidth = (keyword->xMax - keyword->xMin) / 5;
    EXPECT_NEAR(charWidth, memo.CharWidth() * 72.0 / memo.logicalDpiX(), 0.3);
    EXPECT_NEAR(number->xMin, 36 + 5 * charWidth, 0.5);
    EXPECT_NEAR(keyword->xMin, 36 + 10 * charWidth, 0.5);
    EXPECT_EQ(memo.PrintArea(), (TPrintRect{300, 300, 4800, 6300}));
}
