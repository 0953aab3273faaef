// The main window's state outside a conversion: start, modes, settings, the font, the
// destination dialog and the ways out.
#include "glyphcast/app/Form1.h"

#include "glyphcast/app/GridView.h"
#include "glyphcast/app/RasterView.h"
#include "glyphcast/app/SaveAs.h"
#include "glyphcast/app/Version.h"
#include "glyphcast/core/GlyphSampler.h"
#include "glyphcast/core/LabelStem.h"
#include "platform/QtText.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

namespace {
constexpr int WindowLeftTwips = 1600;
constexpr int WindowTopTwips = 1000;
constexpr int WindowWidthTwips = 12090;
constexpr int BasicHeightTwips = 2200;
constexpr int AdvancedHeightTwips = 8685;
constexpr int StartNamePadding = 20;
constexpr int ChosenNamePadding = 32;
const QString DefaultFileName = QStringLiteral("RES_FILE.TXT");
} // namespace

namespace {
int twipsToPixels(int twips)
{
    return (twips + TForm1::TwipsPerPixel / 2) / TForm1::TwipsPerPixel;
}
} // namespace

void TForm1::FormLoad()
{
    auto& ui = m_ui;
    move(twipsToPixels(WindowLeftTwips), twipsToPixels(WindowTopTwips));
    for (QWidget* hidden :
         {static_cast<QWidget*>(ui.Command5), static_cast<QWidget*>(ui.Command7),
          static_cast<QWidget*>(ui.Label9), static_cast<QWidget*>(ui.Label15),
          static_cast<QWidget*>(ui.Label12), static_cast<QWidget*>(ui.Label13),
          static_cast<QWidget*>(ui.Label7), static_cast<QWidget*>(ui.Label10),
          static_cast<QWidget*>(ui.Label14), static_cast<QWidget*>(ui.ProgressBar1),
          static_cast<QWidget*>(ui.Label8)})
        hidden->hide();
    ui.Nextc->setEnabled(false);
    ui.Command3->setEnabled(false);
    ui.Nom_Fichier->setText(DefaultFileName);
    m_destination = m_services.programFolder.trimmed();
    ui.Label16->setText(m_destination);
    Command4Click();
    setWindowTitle("Glyphcast " + ui.Label8->text());
    fontwidthChange(ui.fontwidth->value());
    fontheightChange(ui.fontheight->value());
    offsetChange(ui.offset->value());
    VScroll1Change(ui.VScroll1->value());
    showFontCaptions(StartNamePadding);
}

void TForm1::setWindowSizeTwips(int width, int height)
{
    resize(twipsToPixels(width), twipsToPixels(height));
}

void TForm1::Command4Click()
{
    auto& ui = m_ui;
    ui.Command8->hide();
    ui.Advanced_Frame->hide();
    ui.SSTab1->hide();
    ui.Command4->setEnabled(false);
    ui.Command6->setEnabled(true);
    ui.Nom_Fichier->setEnabled(false);
    setWindowSizeTwips(WindowWidthTwips, BasicHeightTwips);
    m_destination = m_services.programFolder.trimmed();
    ui.Label16->setText(m_destination);
    m_saveAs->setPath(m_destination);
    ui.Nom_Fichier->setText(DefaultFileName);
}

void TForm1::showAdvancedWindow()
{
    auto& ui = m_ui;
    ui.Advanced_Frame->show();
    ui.SSTab1->show();
    ui.SSTab1->setEnabled(true);
    ui.Command8->show();
    ui.Command4->setEnabled(true);
    ui.Command6->setEnabled(false);
    ui.Nom_Fichier->setEnabled(true);
}

void TForm1::Command6Click()
{
    showAdvancedWindow();
    m_ui.Command8->setEnabled(true);
    setWindowSizeTwips(WindowWidthTwips, AdvancedHeightTwips);
}

void TForm1::AboutClick()
{
    Command6Click();
    m_ui.SSTab1->setCurrentIndex(2);
    m_ui.Command4->setEnabled(true);
}

void TForm1::fontwidthChange(int value)
{
    m_settings.setWidth(value);
    m_ui.widthCaption->setText(QString::fromStdString(widthCaption(m_settings.width())));
    redrawGuideLines();
}

void TForm1::fontheightChange(int value)
{
    m_settings.setHeight(value);
    m_ui.heightCaption->setText(QString::fromStdString(heightCaption(m_settings.height())));
    redrawGuideLines();
}

void TForm1::offsetChange(int value)
{
    m_settings.setOffset(value);
    m_ui.offsetCaption->setText(QString::fromStdString(offsetCaption(m_settings.offset())));
    redrawGuideLines();
}

void TForm1::VScroll1Change(int value)
{
    m_settings.setBytesHigh(value);
    m_ui.bytesHighCaption->setText(
        QString::fromStdString(bytesHighCaption(m_settings.bytesHigh())));
}

void TForm1::optionChange()
{
    m_settings.fixedWidth = m_ui.fixwidth->isChecked();
    m_settings.spaceAtEnd = m_ui.spaceyn->isChecked();
    m_settings.autoCalculate = m_ui.autocal->isChecked();
    m_settings.includeWidth = m_ui.includewidth->isChecked();
    m_settings.includeLabel = m_ui.labelfont->isChecked();
    m_settings.labelOffset = m_ui.labeloffset->isChecked();
}

void TForm1::redrawGuideLines()
{
    m_raster.clear();
    drawGuideLines(m_raster, m_settings);
    m_ui.fontbox2->update();
}

void TForm1::fontbox2MouseMove(int x, int y)
{
    m_ui.xlabel->setText(QString::number(x));
    m_ui.ylabel->setText(QString::number(y));
}

// Name and size captions, the style captions and the default label stem, from the raster font.
void TForm1::showFontCaptions(int namePadding)
{
    const QFont& font = m_raster.font();
    m_ui.cname->setText(font.family() + QString(namePadding, ' '));
    const QString decimal = QLocale().decimalPoint();
    const char separator =
        decimal.size() == 1 && decimal[0].unicode() < 0x80 ? char(decimal[0].unicode()) : '.';
    m_ui.csize->setText(QString::fromStdString(sizeCaption(font.pointSizeF(), separator)));
    m_ui.cbold->setVisible(font.bold());
    m_ui.cItalic->setVisible(font.italic());
    const std::string stem = defaultLabelStem(qStringToCp1252(font.family()), font.bold(), font.italic(),
                                              qStringToCp1252(m_ui.csize->text()));
    m_ui.Text2->setText(cp1252ToQString(stem));
}

void TForm1::getfontClick()
{
    const std::optional<QFont> chosen = m_services.chooseFont(m_raster.font());
    if (!chosen)
        return;
    QFont font = m_raster.font();
    font.setFamily(chosen->family());
    font.setPointSizeF(chosen->pointSizeF() > 0 ? chosen->pointSizeF() : font.pointSizeF());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    font.setUnderline(chosen->underline());
    font.setStrikeOut(chosen->strikeOut());
    m_raster.setFont(font);
    showFontCaptions(ChosenNamePadding);
}

void TForm1::Command8Click()
{
    move(0, 0);
    resize(0, 0);
    m_saveAs->setFileName(m_ui.Nom_Fichier->text());
    m_saveAs->show();
    m_saveAs->raise();
    m_saveAs->activateWindow();
}

void TForm1::Save_asAccepted(const QString& folder)
{
    m_destination = folder;
    m_ui.Label16->setText(folder.trimmed());
}

// "New Conversion" keeps its state here: hiding it after a finished run would leave no way to
// start another conversion.
void TForm1::Save_asCancelled()
{
    showAdvancedWindow();
    setWindowSizeTwips(WindowWidthTwips, AdvancedHeightTwips);
    move(twipsToPixels(WindowLeftTwips), twipsToPixels(WindowTopTwips));
}

void TForm1::FinClick()
{
    m_services.clipboard->setText("PRINT FONT " + qStringToCp1252(m_ui.Text2->text()));
    endProgram();
}

void TForm1::ExitClick()
{
    endProgram();
}

// Ends the program; a conversion still running sees its stop at the next check.
void TForm1::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    m_ui.Command5->setEnabled(false);
    m_ui.Nextc->setEnabled(false);
    if (m_services.endProgram)
        m_services.endProgram();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    m_ending = true;
    m_ui.Command5->setEnabled(false);
    m_ui.Nextc->setEnabled(false);
    m_saveAs->hide();
    event->accept();
}
