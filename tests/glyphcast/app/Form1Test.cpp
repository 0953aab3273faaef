// The main window outside a conversion: start state, modes, the font chooser, the ways out and
// the mouse coordinates.
#include "TestServices.h"

#include "glyphcast/app/Form1.h"
#include "glyphcast/app/RasterView.h"
#include "glyphcast/app/SaveAs.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Form1Fixture : ::testing::Test
{
    TTestServices test;
    std::unique_ptr<TForm1> form;
    const TForm1Controls* ui = nullptr;

    Form1Fixture()
    {
        ensureApplication();
        form = std::make_unique<TForm1>(test.services());
        ui = &form->controls();
    }
};

} // namespace

TEST_F(Form1Fixture, StartsInBasicModeWithTheDefaultSettings)
{
    EXPECT_EQ(form->windowTitle(), "Glyphcast V1.20");
    EXPECT_EQ(form->size(), QSize(806, 147));
    EXPECT_EQ(form->pos(), QPoint(107, 67));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(ui->Command4->isEnabled());
    EXPECT_TRUE(ui->Command6->isEnabled());
    EXPECT_TRUE(ui->Advanced_Frame->isHidden());
    EXPECT_TRUE(ui->SSTab1->isHidden());
    EXPECT_TRUE(ui->Command8->isHidden());
    EXPECT_TRUE(ui->Command5->isHidden());
    EXPECT_TRUE(ui->Command7->isHidden());
    EXPECT_FALSE(ui->Command1->isHidden());
    EXPECT_FALSE(ui->Nom_Fichier->isEnabled());
    EXPECT_EQ(ui->Nom_Fichier->text(), "RES_FILE.TXT");
    EXPECT_FALSE(ui->Command3->isEnabled());
    EXPECT_FALSE(ui->Nextc->isEnabled());
    EXPECT_FALSE(ui->Check1->isChecked());
    EXPECT_TRUE(ui->offsetbased->isHidden());
    EXPECT_TRUE(ui->SED->isHidden());

    EXPECT_EQ(ui->widthCaption->text(), "Width 16");
    EXPECT_EQ(ui->heightCaption->text(), "Height 16");
    EXPECT_EQ(ui->offsetCaption->text(), "Offset 0");
    EXPECT_EQ(ui->bytesHighCaption->text(), "2 Bytes High");
    EXPECT_EQ(ui->cname->text(), "Arial" + QString(20, ' '));
    EXPECT_EQ(ui->csize->text(), "9.75");
    EXPECT_TRUE(ui->cbold->isHidden());
    EXPECT_TRUE(ui->cItalic->isHidden());
    EXPECT_EQ(ui->Text2->text(), "Arial____9o75 ");
    EXPECT_EQ(form->destinationFolder(), test.folder.path());
    EXPECT_EQ(ui->Label16->text(), test.folder.path());
    EXPECT_TRUE(form->settings().check());
}

TEST_F(Form1Fixture, ScrollBarsRewriteCaptionsAndGuideLines)
{
    ui->fontwidth->setValue(20);
    EXPECT_EQ(ui->widthCaption->text(), "Width 21");
    EXPECT_EQ(form->settings().width(), 20);
    EXPECT_EQ(form->raster().pixel(20, 30), glyph::Red);
    ui->offset->setValue(4);
    ui->fontheight->setValue(10);
    EXPECT_EQ(ui->offsetCaption->text(), "Offset 4");
    EXPECT_EQ(form->raster().pixel(40, 4), glyph::Blue);
    EXPECT_EQ(form->raster().pixel(40, 14), glyph::Green);
    ui->VScroll1->setValue(3);
    EXPECT_EQ(ui->bytesHighCaption->text(), "3 Bytes High");
    EXPECT_EQ(form->settings().bytesHigh(), 3);
    ui->VScroll1->setValue(9);
    EXPECT_EQ(form->settings().bytesHigh(), 4);
}

TEST_F(Form1Fixture, AdvancedModeAndBackToBasicResetsTheDestination)
{
    ui->Command6->click();
    EXPECT_EQ(form->size(), QSize(806, 579));
    EXPECT_FALSE(ui->Advanced_Frame->isHidden());
    EXPECT_FALSE(ui->SSTab1->isHidden());
    EXPECT_FALSE(ui->Command8->isHidden());
    EXPECT_TRUE(ui->Nom_Fichier->isEnabled());
    EXPECT_FALSE(ui->Command6->isEnabled());

    QTemporaryDir other;
    ui->Command8->click();
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    TSave_as* dialog = form->saveAsDialog();
    EXPECT_TRUE(dialog->isVisible());
    dialog->setPath(other.path());
    dialog->findChild<QPushButton*>("Command1")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(form->destinationFolder(), QDir(other.path()).absolutePath());
    EXPECT_EQ(form->size(), QSize(806, 579));
    EXPECT_EQ(form->pos(), QPoint(107, 67));
    ui->Nom_Fichier->setText("OTHER.TXT");

    ui->Command4->click();
    EXPECT_EQ(form->size(), QSize(806, 147));
    EXPECT_EQ(form->destinationFolder(), test.folder.path());
    EXPECT_EQ(ui->Nom_Fichier->text(), "RES_FILE.TXT");
    EXPECT_EQ(dialog->path(), QDir(test.folder.path()).absolutePath());
}

TEST_F(Form1Fixture, FileNameFieldsMirrorEachOther)
{
    ui->Command6->click();
    ui->Command8->click();
    auto* dialogName = form->saveAsDialog()->findChild<QLineEdit*>("Text1");
    dialogName->setText("FONT.BAS");
    EXPECT_EQ(ui->Nom_Fichier->text(), "FONT.BAS");
    ui->Nom_Fichier->setText("OTHER.BAS");
    EXPECT_EQ(dialogName->text(), "OTHER.BAS");
    form->saveAsDialog()->findChild<QPushButton*>("Command2")->click();
    EXPECT_EQ(form->destinationFolder(), test.folder.path());
}

TEST_F(Form1Fixture, FontChoiceReplacesCaptionsAndStemAndCancelKeepsThem)
{
    ui->Text2->setText("MYFONT");
    test.nextFont.reset();
    ui->getfont->click();
    EXPECT_EQ(ui->Text2->text(), "MYFONT");
    EXPECT_EQ(form->raster().font().family(), "Arial");

    QFont chosen("Liberation Mono");
    chosen.setPointSizeF(12);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    test.nextFont = chosen;
    ui->getfont->click();
    EXPECT_EQ(ui->cname->text(), "Liberation Mono" + QString(32, ' '));
    EXPECT_EQ(ui->csize->text(), "12");
    EXPECT_FALSE(ui->cbold->isHidden());
    EXPECT_FALSE(ui->cItalic->isHidden());
    EXPECT_EQ(ui->Text2->text(), "Liber_BI_12   ");
    EXPECT_TRUE(form->raster().font().underline());
}

TEST_F(Form1Fixture, QuitLeavesThePrintLineWithTheUntrimmedLabel)
{
    ui->Text2->setText(" MyFont  ");
    ui->Fin->click();
    ASSERT_EQ(test.clipboard.texts.size(), 1u);
    EXPECT_EQ(test.clipboard.texts[0], "PRINT FONT  MyFont  ");
    EXPECT_EQ(test.endCount, 1);

    ui->Fin->click(); // the program is already ending
    EXPECT_EQ(test.endCount, 1);
}

TEST_F(Form1Fixture, InsertAndQuitWritesTheHandOverFileWhateverTheFileNameSays)
{
    ui->Command6->click();
    ui->Nom_Fichier->setText("OTHER.TXT");
    ui->Text1->setPlainText("a,b\nlast line");
    ui->Command3->setEnabled(true);
    ui->Command3->click();
    QFile file(QDir(test.folder.path()).filePath("RES_FILE.TXT"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("a,b\r\nlast line\r\n"));
    EXPECT_FALSE(QFile::exists(QDir(test.folder.path()).filePath("OTHER.TXT")));
    EXPECT_EQ(test.endCount, 1);
}

TEST_F(Form1Fixture, InsertAndQuitIntoAMissingFolderReportsAndStays)
{
    TTestServices missing;
    TForm1 window(missing.services(missing.folder.path() + "/no/such/folder"));
    window.controls().Text1->setPlainText("x\n");
    window.controls().Command3->setEnabled(true);
    window.controls().Command3->click();
    ASSERT_EQ(missing.messageBox.shown.size(), 1);
    EXPECT_TRUE(missing.messageBox.shown[0].text.contains("/no/such/folder/RES_FILE.TXT"));
    EXPECT_EQ(missing.endCount, 0);
    EXPECT_TRUE(window.controls().Command3->isEnabled());
}

TEST_F(Form1Fixture, PointerOverTheRasterShowsItsCoordinates)
{
    ui->Command6->click();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::mouseMove(ui->fontbox2, QPoint(13, 21));
    QTest::qWait(20);
    EXPECT_EQ(ui->xlabel->text(), "12");
    EXPECT_EQ(ui->ylabel->text(), "20");
}
