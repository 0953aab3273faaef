// Conversion runs through the window with a real installed font: the written file's
// structure, stepping and stopping, a size error of the automatic calculation, and a file
// that cannot be written.
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
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

QStringList logicalLines(const QByteArray& bytes)
{
    QStringList physical = QString::fromLatin1(bytes).split("\r\n");
    EXPECT_EQ(physical.takeLast(), "") << "the file ends with a line break";
    QStringList lines;
    bool continues = false;
    for (const QString& line : physical) {
        if (continues) {
            EXPECT_TRUE(line.startsWith(QString(10, ' '))) << line.toStdString();
            lines.last() += line.mid(10);
        } else {
            lines.push_back(line);
        }
        continues = lines.last().endsWith(",_");
        if (continues)
            lines.last().chop(1);
    }
    return lines;
}

QByteArray readFile(const QString& fileName)
{
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    return file.readAll();
}

struct ConversionFixture : ::testing::Test
{
    TTestServices test;
    std::unique_ptr<TForm1> form;
    const TForm1Controls* ui = nullptr;

    ConversionFixture()
    {
        ensureApplication();
        form = std::make_unique<TForm1>(test.services());
        ui = &form->controls();
    }

    QString handOverFile() const { return QDir(test.folder.path()).filePath("RES_FILE.TXT"); }

    // Presses Convert Font and calls during(waits) whenever the run lets events through: after
    // each byte row, and while a stepped run waits (waits counts those).
    void convertCalling(const std::function<void(int waits)>& during)
    {
        int waits = 0;
        bool waiting = false;
        QTimer poll;
        poll.setInterval(1);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (ui->Command5->isHidden() || !ui->Command5->isEnabled())
                return;
            const bool nowWaiting = ui->Nextc->isEnabled();
            if (nowWaiting && !waiting)
                ++waits;
            waiting = nowWaiting;
            during(waits);
        });
        poll.start();
        ui->Command1->click();
        poll.stop();
    }
};

// Remembers whether the glyph raster showed the red guide line the last time it was painted.
struct GuideLineWatch : QObject
{
    const TForm1* form = nullptr;
    bool lastPaintShowedGuides = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            lastPaintShowedGuides = form->raster().pixel(form->settings().width(), 55) == glyph::Red;
        return false;
    }
};

// One character's data line: "CDATA " width "," bytes " ' Code for char " c "  ".
struct DataLine
{
    int width = 0;
    QList<int> bytes;
};

DataLine parseDataLine(const QString& line, int code)
{
    const QString tail = QString(" ' Code for char ") + QChar(code) + "  ";
    EXPECT_TRUE(line.startsWith("CDATA ")) << line.toStdString();
    EXPECT_TRUE(line.endsWith(tail)) << line.toStdString();
    const QStringList numbers = line.mid(6, line.size() - 6 - tail.size()).split(',');
    DataLine data;
    data.width = numbers.value(0).toInt();
    for (qsizetype i = 1; i < numbers.size(); ++i) {
        bool ok = false;
        const int byte = numbers[i].toInt(&ok);
        EXPECT_TRUE(ok && byte >= 0 && byte <= 255) << numbers[i].toStdString();
        data.bytes.push_back(byte);
    }
    return data;
}

} // namespace

TEST_F(ConversionFixture, RealFontConversionWritesAWellFormedTable)
{
    ui->Command1->click();
    ASSERT_TRUE(test.messageBox.shown.isEmpty()) << test.messageBox.shown[0].text.toStdString();
    const TConversionSettings& settings = form->settings();
    EXPECT_TRUE(settings.check());
    const QString height = QString::number(settings.height());
    const QStringList lines = logicalLines(readFile(handOverFile()));
    ASSERT_GT(lines.size(), 16 + 2 * 96);
    EXPECT_EQ(lines[1],
              "' FONT information for  Arial  - Font Size " + height + " (Point Size 9.75)");
    EXPECT_EQ(lines[7], "Arial____9o75:-");
    EXPECT_EQ(lines[9], "Cdata     word " + height + " ' Font is " + height + " High");
    QStringList pointers;
    for (int n = 0; n < 96; ++n)
        pointers << "Arial____9o75_" + QString::number(n);
    EXPECT_EQ(lines[11], "Cdata     " + pointers.join(','));
    EXPECT_EQ(lines[15], "' Font data");
    ASSERT_EQ(lines.size(), 17 + 2 * 96);

    QList<DataLine> characters;
    for (int n = 0; n < 96; ++n) {
        EXPECT_EQ(lines[17 + 2 * n], pointers[n] + ":-");
        DataLine data = parseDataLine(lines[18 + 2 * n], 32 + n);
        ASSERT_EQ(data.bytes.size() % settings.bytesHigh(), 0);
        EXPECT_EQ(data.width, data.bytes.size() / settings.bytesHigh()) << "code " << 32 + n;
        characters.push_back(data);
    }
    EXPECT_EQ(characters[0].width, 2);
    EXPECT_EQ(characters[0].bytes, QList<int>(2 * settings.bytesHigh(), 0));
    EXPECT_GT(characters['!' - 32].bytes.value(0), 0); // ink in its first kept column
    EXPECT_GT(characters['W' - 32].width, characters['i' - 32].width);

    EXPECT_FALSE(ui->Label10->isHidden());
    EXPECT_FALSE(ui->Label9->isHidden());
    EXPECT_EQ(ui->Label14->text(), "The file is saved in : " + test.folder.path());
    EXPECT_EQ(ui->Label15->text(), ui->Text2->text());
    EXPECT_TRUE(ui->fontbox2->isHidden());
    EXPECT_TRUE(ui->ProgressBar1->isHidden());
    EXPECT_TRUE(ui->Command5->isHidden());
    EXPECT_FALSE(ui->Command7->isHidden());
    EXPECT_TRUE(ui->Command3->isEnabled());

    ui->Command7->click();
    EXPECT_TRUE(ui->Text1->toPlainText().isEmpty());
    EXPECT_FALSE(ui->Command1->isHidden());
    EXPECT_TRUE(ui->Command1->isEnabled());
    EXPECT_FALSE(ui->fontbox2->isHidden());
    EXPECT_EQ(form->grid().cell(0), TPreviewGrid::Cell::Hidden);
    EXPECT_FALSE(ui->Command3->isEnabled());
}

TEST_F(ConversionFixture, SteppedRunWaitsAfterEachCharacterAndStopEndsIt)
{
    ui->autocal->setChecked(false);
    ui->Check1->setChecked(true);
    QStringList panels;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!ui->Nextc->isEnabled())
            return;
        panels << ui->Text1->toPlainText();
        if (panels.size() == 1)
            ui->Nextc->click();
        else
            ui->Command5->click();
    });
    poll.start();
    ui->Command1->click();
    poll.stop();

    ASSERT_EQ(panels.size(), 2);
    EXPECT_TRUE(panels[0].endsWith("Code for char    \n"));
    EXPECT_FALSE(panels[0].contains("Code for char !"));
    EXPECT_TRUE(panels[1].endsWith("Code for char !  \n"));
    EXPECT_TRUE(ui->Text1->toPlainText().isEmpty());
    EXPECT_FALSE(ui->Command1->isHidden());
    EXPECT_TRUE(ui->Command1->isEnabled());
    EXPECT_TRUE(ui->Command5->isHidden());
    EXPECT_TRUE(ui->Command7->isHidden());
    EXPECT_FALSE(QFile::exists(handOverFile()));
}

TEST_F(ConversionFixture, FontTooTallStopsTheRunUntilStop)
{
    QFont big("Arial");
    big.setPointSizeF(40);
    test.nextFont = big;
    ui->getfont->click();
    ui->Command1->click();
    ASSERT_FALSE(test.messageBox.shown.isEmpty());
    for (const TShownMessage& message : test.messageBox.shown)
        EXPECT_EQ(message.caption, "Font size error");
    EXPECT_EQ(test.messageBox.shown.last().text, "Font to tall, please select a smaller font");
    EXPECT_EQ(form->errorFlag(), 1);
    EXPECT_EQ(form->settings().bytesHigh(), 2);
    EXPECT_TRUE(form->settings().check());
    EXPECT_TRUE(ui->Command1->isHidden());
    EXPECT_TRUE(ui->Command1->isEnabled());
    EXPECT_TRUE(ui->getfont->isEnabled());
    EXPECT_FALSE(ui->Command5->isHidden());
    EXPECT_TRUE(ui->Text1->toPlainText().isEmpty());
    EXPECT_FALSE(QFile::exists(handOverFile()));

    ui->Command5->click();
    EXPECT_FALSE(ui->Command1->isHidden());
    EXPECT_EQ(form->errorFlag(), 0);
}

TEST_F(ConversionFixture, UnwritableFileIsReportedAndTheWindowStaysUsable)
{
    TTestServices missing;
    const QString badFolder = missing.folder.path() + "/gone";
    TForm1 window(missing.services(badFolder));
    const TForm1Controls& controls = window.controls();
    controls.autocal->setChecked(false);
    controls.Command1->click();
    ASSERT_EQ(missing.messageBox.shown.size(), 1);
    EXPECT_TRUE(missing.messageBox.shown[0].text.contains(badFolder + "/RES_FILE.TXT"))
        << missing.messageBox.shown[0].text.toStdString();
    EXPECT_TRUE(controls.Label14->text().startsWith("The file could not be saved in : "));
    EXPECT_FALSE(controls.Command7->isHidden());
    EXPECT_TRUE(controls.ProgressBar1->isHidden());

    // Choose a folder that exists and convert again.
    controls.Command6->click();
    controls.Command8->click();
    window.saveAsDialog()->setPath(missing.folder.path());
    window.saveAsDialog()->findChild<QPushButton*>("Command1")->click();
    EXPECT_FALSE(controls.Command7->isHidden());
    controls.Command7->click();
    controls.Command1->click();
    EXPECT_EQ(missing.messageBox.shown.size(), 1);
    EXPECT_TRUE(
        readFile(QDir(missing.folder.path()).filePath("RES_FILE.TXT")).startsWith("'\r\n' FONT"));
}

TEST_F(ConversionFixture, EditedPanelIsWhatTheFileGets)
{
    ui->autocal->setChecked(false);
    ui->Command1->click();
    ASSERT_TRUE(QFile::exists(handOverFile()));
    ui->Text1->setPlainText("' edited\nCDATA 1,2 ' Code for char ,");
    ui->Command3->click();
    EXPECT_EQ(readFile(handOverFile()), QByteArray("' edited\r\nCDATA 1,2 ' Code for char ,\r\n"));
    EXPECT_EQ(test.endCount, 1);
}

TEST_F(ConversionFixture, WidestTallestTableIsWrittenWhole)
{
    ui->autocal->setChecked(false);
    ui->fixwidth->setChecked(true);
    ui->fontwidth->setValue(64);
    ui->VScroll1->setValue(4);
    ui->Command1->click();
    const QStringList lines = logicalLines(readFile(handOverFile()));
    ASSERT_EQ(lines.size(), 17 + 2 * 96);
    // 65 columns of 4 bytes; the six columns past the raster's edge are all ink, so even the
    // space keeps them (its blank columns before them are dropped).
    const DataLine space = parseDataLine(lines[18], ' ');
    EXPECT_EQ(space.width, 6);
    EXPECT_EQ(space.bytes, QList<int>(24, 255));
    const DataLine bang = parseDataLine(lines[20], '!');
    ASSERT_EQ(bang.bytes.size() % 4, 0);
    EXPECT_EQ(bang.bytes.mid(bang.bytes.size() - 24), QList<int>(24, 255));
    EXPECT_GT(ui->Text1->toPlainText().size(), 60000);
}

TEST_F(ConversionFixture, NewConversionShowsTheStyleCaptionsAgain)
{
    QFont boldItalic("Arial");
    boldItalic.setPointSizeF(8);
    boldItalic.setBold(true);
    boldItalic.setItalic(true);
    test.nextFont = boldItalic;
    ui->getfont->click();
    ui->autocal->setChecked(false);
    ui->Command1->click();
    EXPECT_TRUE(readFile(handOverFile()).contains("(Point Size 8) Bold  Italic \r\n"));
    EXPECT_TRUE(ui->cbold->isHidden());
    ui->Command7->click();
    EXPECT_FALSE(ui->cbold->isHidden());
    EXPECT_FALSE(ui->cItalic->isHidden());
}

TEST_F(ConversionFixture, SettingsChangedDuringARunCorruptedTheCharacterBeingSampled)
{
    ui->autocal->setChecked(false);
    ui->Command6->click(); // the settings are on screen
    ui->Command1->click();
    const QByteArray undisturbed = readFile(handOverFile());
    ui->Command7->click();

    int presses = 0;
    bool settingsLocked = true;
    convertCalling([&](int) {
        settingsLocked = settingsLocked && !ui->fontwidth->isEnabled() && !ui->offset->isEnabled() &&
                         !ui->fontheight->isEnabled() && !ui->fixwidth->isEnabled() && !ui->Command2->isEnabled();
        // A user pressing keys on the bars while the run goes on.
        QTest::keyClick(ui->fontwidth, Qt::Key_Right);
        QTest::keyClick(ui->offset, Qt::Key_Down);
        QTest::keyClick(ui->fontheight, Qt::Key_Up);
        ++presses;
    });
    EXPECT_GT(presses, 10);
    EXPECT_TRUE(settingsLocked);
    EXPECT_EQ(readFile(handOverFile()), undisturbed);
    EXPECT_FALSE(ui->fontwidth->isEnabled()); // until New Conversion
    ui->Command7->click();
    EXPECT_TRUE(ui->fontwidth->isEnabled());
    EXPECT_TRUE(ui->Command2->isEnabled());
    EXPECT_TRUE(ui->Check1->isEnabled());
}

TEST_F(ConversionFixture, GuideLinesWereNotRepaintedWhileASteppedRunWaited)
{
    form->show();
    ui->autocal->setChecked(false);
    ui->Command6->click();
    ui->Check1->setChecked(true);
    GuideLineWatch watch;
    watch.form = form.get();
    ui->fontbox2->installEventFilter(&watch);
    int waitsSeen = 0;
    int waitsShowingGuides = 0;
    convertCalling([&](int waits) {
        if (!ui->Nextc->isEnabled() || waits == waitsSeen)
            return;
        waitsSeen = waits;
        QTest::qWait(20);
        waitsShowingGuides += watch.lastPaintShowedGuides ? 1 : 0;
        if (waits == 3)
            ui->Command5->click();
        else
            ui->Nextc->click();
    });
    EXPECT_EQ(waitsSeen, 3);
    EXPECT_EQ(waitsShowingGuides, 3); // each wait shows the finished character with its lines
}

TEST_F(ConversionFixture, StatusCaptionsStayedAfterStopAndAFailedCalculationSaidNothing)
{
    ui->autocal->setChecked(false);
    ui->Check1->setChecked(true);
    convertCalling([&](int waits) {
        if (waits == 1 && ui->Nextc->isEnabled())
            ui->Command5->click();
    });
    for (QLabel* status : {ui->Label12, ui->Label13, ui->Label7, ui->Label10})
        EXPECT_TRUE(status->isHidden()) << status->text().toStdString();
    int ink = 0; // the character the stop was seen in is not left behind
    for (int x = 0; x < glyph::RasterSize; ++x)
        for (int y = 0; y < glyph::RasterSize; ++y)
            ink += form->raster().isInkAt(x, y) ? 1 : 0;
    EXPECT_EQ(ink, 0);

    // A manual calculation finds the font too large; Convert then stops at once and says why.
    QFont big("Arial");
    big.setPointSizeF(40);
    test.nextFont = big;
    ui->getfont->click();
    ui->Command6->click();
    ui->Check1->setChecked(false);
    ui->Command2->click();
    const qsizetype messages = test.messageBox.shown.size();
    ASSERT_GT(messages, 0);
    ui->Command1->click();
    EXPECT_TRUE(ui->Command1->isHidden());
    EXPECT_TRUE(ui->Label12->isHidden());
    EXPECT_FALSE(ui->Label14->isHidden());
    EXPECT_TRUE(ui->Label14->text().contains("smaller font")) << ui->Label14->text().toStdString();
    EXPECT_TRUE(ui->Label14->text().contains("Stop Convert")) << ui->Label14->text().toStdString();
    ui->Command5->click();
    EXPECT_FALSE(ui->Command1->isHidden());
    EXPECT_TRUE(ui->Label14->isHidden());
}

// Label, font name and panel text crossed as Latin-1, so the Windows-1252 characters the IDE
// reads (euro sign, dashes, curly quotes) became "?".
TEST_F(ConversionFixture, TextCrossedAsLatin1InsteadOfTheCodePage)
{
    QFont named(QString::fromUtf8("S\u2013n Test"));
    named.setPointSizeF(9);
    test.nextFont = named;
    ui->getfont->click();
    EXPECT_EQ(ui->Text2->text(), QString::fromUtf8("S\u2013n_T____9    "));
    ui->Text2->setText(QString::fromUtf8("L\u20AC\u2019"));
    ui->autocal->setChecked(false);
    ui->Command1->click();
    const QByteArray file = readFile(handOverFile());
    EXPECT_TRUE(file.contains("FONT information for  S\x96n Test  -")) << file.left(200).toStdString();
    EXPECT_TRUE(file.contains("\r\nL\x80\x92:-\r\n"));
    EXPECT_TRUE(ui->Text1->toPlainText().contains(QString::fromUtf8("L\u20AC\u2019_33:-")));
    ui->Fin->click();
    ASSERT_EQ(test.clipboard.texts.size(), 1u);
    EXPECT_EQ(test.clipboard.texts[0], "PRINT FONT L\x80\x92");
}
