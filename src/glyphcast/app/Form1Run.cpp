// The conversion run, the automatic metrics and writing the table file, as the window drives
// them. Long work lets pending events through after every step so Stop and Next Caracter work.
#include "glyphcast/app/Form1.h"

#include "glyphcast/app/GridView.h"
#include "glyphcast/app/RasterView.h"
#include "glyphcast/core/AutoMetrics.h"
#include "glyphcast/core/ConversionRun.h"
#include "glyphcast/core/LabelStem.h"
#include "glyphcast/core/TableFileWriter.h"
#include "platform/AtomicFile.h"
#include "platform/QtText.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

namespace {
const QString HandOverFileName = QStringLiteral("RES_FILE.TXT");

QString shownText(const std::string& text)
{
    QString shown = cp1252ToQString(text);
    shown.replace("\r\n", "\n");
    return shown;
}

// What Convert says when a size error of the automatic calculation keeps it away.
const QString SizeErrorNotice =
    QStringLiteral("Font size error: choose a smaller font, then press Stop Convert to convert again.");
} // namespace

class TForm1::TRunObserver : public TConversionObserver
{
public:
    explicit TRunObserver(TForm1& form) : m_form(form) {}

    bool byteRowDone() override
    {
        m_form.m_ui.fontbox2->update();
        m_form.m_ui.Shape1->update();
        m_form.processEvents();
        return m_form.m_ui.Command5->isEnabled() && !m_form.m_ending;
    }

    void characterDone(int, const std::string& text) override
    {
        m_form.m_ui.Text1->setPlainText(shownText(text));
    }

    void waitForStep() override
    {
        auto& ui = m_form.m_ui;
        // The run has drawn the guide lines over the finished character: show them.
        ui.fontbox2->update();
        ui.Shape1->update();
        if (!ui.Check1->isChecked())
            return;
        ui.Nextc->setEnabled(true);
        while (ui.Nextc->isEnabled() && !m_form.m_ending)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

private:
    TForm1& m_form;
};

void TForm1::processEvents()
{
    QCoreApplication::processEvents();
}

void TForm1::Command2Click()
{
    runAutoMetrics();
}

void TForm1::runAutoMetrics()
{
    auto& ui = m_ui;
    const bool hidConvert = !ui.Command1->isHidden();
    if (hidConvert)
        ui.Command1->hide();
    ui.Label12->show();
    processEvents();

    m_errorFlag = 0;
    TConversionSettings measured = m_settings;
    const TAutoMetricsResult result = calculateAutoMetrics(m_raster, measured);
    // Through the scroll bars, so captions and guide lines follow as for a manual change.
    ui.fontwidth->setValue(measured.width());
    ui.offset->setValue(measured.offset());
    ui.fontheight->setValue(measured.height());
    ui.VScroll1->setValue(measured.bytesHigh());
    for (const std::string& message : result.messages)
        m_services.messageBox->showMessage(TMessageKind::Error, FontSizeErrorTitle,
                                           QString::fromStdString(message));
    if (result.failed())
        m_errorFlag = 1;

    ui.Label12->hide();
    if (hidConvert)
        ui.Command1->show();
}

void TForm1::Command1Click()
{
    auto& ui = m_ui;
    beginConversion();
    if (ui.autocal->isChecked())
        runAutoMetrics();
    if (m_errorFlag == 1) {
        ui.getfont->setEnabled(true);
        ui.Command1->setEnabled(true);
        // Convert stays hidden until Stop: say so, since the size message may be long gone
        // (it came from an earlier manual calculation when automatic calculation is off).
        ui.Label12->hide();
        ui.Label14->setText(SizeErrorNotice);
        ui.Label14->setToolTip(QString());
        ui.Label14->show();
        return;
    }
    ui.Label12->hide();
    ui.Label13->show();
    if (!convertCharacters()) {
        ui.Command1->setEnabled(true);
        // A stop seen at the next character's first byte row leaves that character half drawn
        // after New Conversion cleared the raster and grid: clear them again.
        m_raster.clear();
        m_grid.hideAll();
        ui.fontbox2->update();
        ui.Shape1->update();
        return;
    }
    finishConversion();
}

void TForm1::beginConversion()
{
    auto& ui = m_ui;
    ui.Command1->setEnabled(false);
    ui.Command1->hide();
    ui.Label12->show();
    ui.Command8->setEnabled(false);
    processEvents();
    ui.getfont->setEnabled(false);
    processEvents();
    ui.Command5->setEnabled(true);
    ui.Command5->show();
    ui.Command2->setEnabled(false);
    // A settings change redraws the guide lines into the raster, which would spoil the
    // character being sampled; the settings wait for New Conversion.
    setSettingsEnabled(false);
}

void TForm1::setSettingsEnabled(bool enabled)
{
    // Everything on the advanced panel but the stepped conversion, which the run needs.
    for (QWidget* control : m_ui.Advanced_Frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (control != m_ui.steppedGroup)
            control->setEnabled(enabled);
}

bool TForm1::convertCharacters()
{
    TConversionRun run(m_raster, m_grid, m_settings);
    TRunObserver observer(*this);
    return run.run(tableHeading(), observer);
}

TTableHeading TForm1::tableHeading() const
{
    const QFont& font = m_raster.font();
    return {trimmed(qStringToCp1252(m_ui.cname->text())), trimmed(qStringToCp1252(m_ui.csize->text())),
            font.bold(), font.italic(), trimmed(qStringToCp1252(m_ui.Text2->text()))};
}

void TForm1::finishConversion()
{
    auto& ui = m_ui;
    ui.Command5->setEnabled(false);
    for (QWidget* widget : {static_cast<QWidget*>(ui.getfont), static_cast<QWidget*>(ui.Command1),
                            static_cast<QWidget*>(ui.Label13), static_cast<QWidget*>(ui.Label3),
                            static_cast<QWidget*>(ui.cname), static_cast<QWidget*>(ui.cbold),
                            static_cast<QWidget*>(ui.cItalic), static_cast<QWidget*>(ui.Label4),
                            static_cast<QWidget*>(ui.csize), static_cast<QWidget*>(ui.Text2),
                            static_cast<QWidget*>(ui.fontbox2), static_cast<QWidget*>(ui.Label15)})
        widget->hide();
    ui.Label7->show();
    ui.Label14->setText("The file is saved in : " + m_destination);
    ui.Label14->setToolTip(m_destination);
    const QString fileName = QDir(m_destination).filePath(ui.Nom_Fichier->text().trimmed());
    if (!writePanel(fileName))
        ui.Label14->setText("The file could not be saved in : " + m_destination);
    ui.Label7->hide();
    ui.Label10->show();
    ui.Label9->show();
    ui.Label14->show();
    ui.Command5->hide();
    ui.ProgressBar1->hide();
    ui.Label15->setText(ui.Text2->text());
    ui.Label15->show();
    ui.Command8->setEnabled(true);
    ui.Command7->show();
    // Offered after a run, so the table can also be handed to the IDE from here.
    ui.Command3->setEnabled(true);
    processEvents();
    processEvents();
}

std::string TForm1::panelText() const
{
    QString text = m_ui.Text1->toPlainText();
    text.replace('\n', "\r\n");
    return qStringToCp1252(text);
}

// Writes the panel to fileName; a failure is shown with the file's name and the reason, and
// the window stays as usable as before.
bool TForm1::writePanel(const QString& fileName)
{
    auto& ui = m_ui;
    const std::string text = panelText();
    ui.ProgressBar1->setValue(0);
    ui.ProgressBar1->show();
    bool written = true;
    try {
        TAtomicFileStream out(QFile::encodeName(fileName).toStdString());
        writeTableText(text, out, [this](int percent) {
            m_ui.ProgressBar1->setValue(percent);
            processEvents();
        });
        out.Commit();
    } catch (const std::exception& error) {
        written = false;
        m_services.messageBox->showMessage(TMessageKind::Error, windowTitle(),
                                           QString::fromLocal8Bit(error.what()));
    }
    ui.ProgressBar1->hide();
    return written;
}

void TForm1::Command3Click()
{
    m_ui.Command3->setEnabled(false);
    const bool written = writePanel(QDir(m_destination).filePath(HandOverFileName));
    processEvents();
    if (written)
        endProgram();
    else
        m_ui.Command3->setEnabled(true);
}

void TForm1::Command5Click()
{
    auto& ui = m_ui;
    ui.Command5->setEnabled(false);
    ui.Command5->hide();
    ui.Nextc->setEnabled(false);
    ui.Command1->show();
    for (QLabel* status : {ui.Label12, ui.Label13, ui.Label7, ui.Label10})
        status->hide();
    Command7Click();
    if (!ui.Command6->isEnabled()) {
        ui.Command8->show();
        ui.Command8->setEnabled(true);
    }
}

void TForm1::NextcClick()
{
    m_ui.Nextc->setEnabled(false);
}

void TForm1::Command7Click()
{
    auto& ui = m_ui;
    m_errorFlag = 0;
    ui.Command1->show();
    ui.Command1->setEnabled(true);
    ui.getfont->setEnabled(true);
    ui.getfont->show();
    for (QWidget* widget : {static_cast<QWidget*>(ui.Label10), static_cast<QWidget*>(ui.Label15),
                            static_cast<QWidget*>(ui.Label14), static_cast<QWidget*>(ui.Label9)})
        widget->hide();
    for (QWidget* widget : {static_cast<QWidget*>(ui.Label3), static_cast<QWidget*>(ui.cname),
                            static_cast<QWidget*>(ui.Label4), static_cast<QWidget*>(ui.csize),
                            static_cast<QWidget*>(ui.Text2), static_cast<QWidget*>(ui.fontbox2)})
        widget->show();
    // The style captions come back with the other font captions the finished state hid.
    ui.cbold->setVisible(m_raster.font().bold());
    ui.cItalic->setVisible(m_raster.font().italic());
    ui.Text1->clear();
    ui.SSTab1->setCurrentIndex(0);
    m_grid.hideAll();
    ui.Shape1->update();
    m_raster.clear();
    ui.fontbox2->update();
    ui.Command7->hide();
    ui.Command2->setEnabled(true);
    ui.Advanced_Frame->setEnabled(true);
    setSettingsEnabled(true);
    ui.Command3->setEnabled(false);
}
