#include "platform/QtPrinters.h"

#include "platform/FileDialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

const char* const pdfPrinterCaption = "PDF file";

namespace {

// Print Setup: which printer (an installed one or a PDF file), the margins in inches, and the
// paper through Qt's page set-up dialog. OK needs a file name when the PDF file is chosen.
class TPrintSetupDialog : public QDialog
{
public:
    TPrintSetupDialog(const TPageSetup& current, const std::vector<std::string>& installed) : m_setup(current)
    {
        setObjectName("PrintSetupDialog");
        setWindowTitle("Print Setup");
        auto* form = new QFormLayout;
        m_printer = new QComboBox(this);
        m_printer->setObjectName("PrinterBox");
        for (const std::string& name : installed)
            m_printer->addItem(QString::fromStdString(name));
        m_printer->addItem(pdfPrinterCaption);
        form->addRow("&Printer:", m_printer);

        auto* fileRow = new QHBoxLayout;
        m_file = new QLineEdit(QString::fromStdString(current.PdfFileName), this);
        m_file->setObjectName("PdfFileEdit");
        m_file->setMinimumWidth(m_file->fontMetrics().averageCharWidth() * 40); // room for a path
        m_browse = new QPushButton("&Browse...", this);
        m_browse->setObjectName("BrowseButton");
        fileRow->addWidget(m_file, 1);
        fileRow->addWidget(m_browse);
        // A row holding a layout gets no buddy by itself, and its label would show the "&".
        auto* fileLabel = new QLabel("PDF &file:", this);
        fileLabel->setBuddy(m_file);
        form->addRow(fileLabel, fileRow);

        const auto marginBox = [this](const char* name, int thousandths) {
            auto* box = new QDoubleSpinBox(this);
            box->setObjectName(name);
            box->setDecimals(3);
            box->setRange(0, 20);
            box->setSingleStep(0.25);
            box->setSuffix(" in");
            box->setValue(thousandths / 1000.0);
            return box;
        };
        m_left = marginBox("LeftMarginBox", current.MarginLeft);
        m_top = marginBox("TopMarginBox", current.MarginTop);
        m_right = marginBox("RightMarginBox", current.MarginRight);
        m_bottom = marginBox("BottomMarginBox", current.MarginBottom);
        form->addRow("&Left margin:", m_left);
        form->addRow("&Top margin:", m_top);
        form->addRow("&Right margin:", m_right);
        form->addRow("B&ottom margin:", m_bottom);

        auto* paper = new QPushButton("P&aper...", this);
        paper->setObjectName("PaperButton");
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->addButton(paper, QDialogButtonBox::ActionRole);
        m_ok = buttons->button(QDialogButtonBox::Ok);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(buttons);

        const int index = current.ToPdf ? m_printer->count() - 1 : m_printer->findText(QString::fromStdString(current.PrinterName));
        m_printer->setCurrentIndex(index >= 0 ? index : 0);
        connect(m_printer, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
        connect(m_file, &QLineEdit::textChanged, this, [this] { refresh(); });
        connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
        connect(paper, &QPushButton::clicked, this, [this] { choosePaper(); });
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        refresh();
    }

    TPageSetup choice() const
    {
        TPageSetup setup = m_setup;
        setup.ToPdf = toPdf();
        setup.PrinterName = setup.ToPdf ? std::string() : m_printer->currentText().toStdString();
        setup.PdfFileName = m_file->text().trimmed().toStdString();
        setup.MarginLeft = thousandths(m_left);
        setup.MarginTop = thousandths(m_top);
        setup.MarginRight = thousandths(m_right);
        setup.MarginBottom = thousandths(m_bottom);
        return setup;
    }

private:
    bool toPdf() const { return m_printer->currentIndex() == m_printer->count() - 1; }
    static int thousandths(const QDoubleSpinBox* box) { return static_cast<int>(std::lround(box->value() * 1000)); }

    void refresh()
    {
        m_file->setEnabled(toPdf());
        m_browse->setEnabled(toPdf());
        m_ok->setEnabled(!toPdf() || !m_file->text().trimmed().isEmpty());
    }

    void browse()
    {
        TFileDialogRequest request;
        request.kind = TFileDialogKind::Save;
        request.title = "Print to PDF file";
        request.filter = "PDF files|*.pdf|All files|*.*";
        request.fileName = m_file->text().toStdString();
        request.defaultExtension = "pdf";
        if (const std::optional<std::string> chosen = fileDialogs().run(request))
            m_file->setText(QString::fromStdString(*chosen));
    }

    // Qt's page set-up dialog for the paper and orientation; the margins it shows come back into
    // the margin boxes.
    void choosePaper()
    {
        m_setup = choice();
        std::unique_ptr<QPrinter> printer = makePrinter(m_setup);
        printer->setFullPage(false);
        printer->setPageMargins(QMarginsF(m_setup.MarginLeft, m_setup.MarginTop, m_setup.MarginRight,
                                          m_setup.MarginBottom) / 1000.0,
                                QPageLayout::Inch);
        QPageSetupDialog dialog(printer.get(), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        const QPageLayout layout = printer->pageLayout();
        m_setup.PaperSize = layout.pageSize().id();
        m_setup.Landscape = layout.orientation() == QPageLayout::Landscape;
        const QMarginsF margins = layout.margins(QPageLayout::Inch);
        m_left->setValue(margins.left());
        m_top->setValue(margins.top());
        m_right->setValue(margins.right());
        m_bottom->setValue(margins.bottom());
    }

    TPageSetup m_setup;
    QComboBox* m_printer = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_ok = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_top = nullptr;
    QDoubleSpinBox* m_right = nullptr;
    QDoubleSpinBox* m_bottom = nullptr;
};

} // namespace

std::vector<std::string> TQtPrinters::installedPrinters()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

TPageSetup TQtPrinters::defaultPageSetup()
{
    TPageSetup setup;
    setup.PrinterName = QPrinterInfo::defaultPrinterName().toStdString();
    return setup;
}

std::optional<TPageSetup> TQtPrinters::showPageSetup(const TPageSetup& current)
{
    TPrintSetupDialog dialog(current, installedPrinters());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

std::unique_ptr<QPrinter> makePrinter(const TPageSetup& setup)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (setup.ToPdf) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(setup.PdfFileName));
    } else if (!setup.PrinterName.empty()) {
        printer->setPrinterName(QString::fromStdString(setup.PrinterName));
    }
    if (setup.Resolution > 0)
        printer->setResolution(setup.Resolution);
    if (setup.PaperSize >= 0)
        printer->setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(setup.PaperSize)));
    printer->setPageOrientation(setup.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    return printer;
}
