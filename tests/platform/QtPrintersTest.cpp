// Print Setup as the real dialog: it starts from the page set-up record, every access key
// reaches its own field, OK waits for a PDF file name, and the margins come back in
// thousandths of an inch.
#include "platform/QtPrinters.h"

#include "TestApplication.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <map>

namespace {

// Shows Print Setup for current and lets act work on the dialog once it is up.
std::optional<TPageSetup> runSetup(const TPageSetup& current, std::function<void(QDialog&)> act)
{
    testApplication();
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    TQtPrinters printers;
    return printers.showPageSetup(current);
}

QChar accessKeyOf(const QString& text)
{
    const qsizetype at = text.indexOf('&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

QPushButton* okButton(QDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

} // namespace

TEST(QtPrintSetup, StartsFromTheRecordAndEveryAccessKeyReachesItsOwnField)
{
    TPageSetup current;
    current.ToPdf = true;
    current.PdfFileName = "/tmp/out.pdf";
    current.MarginLeft = 1000;
    current.MarginBottom = 250;
    const auto chosen = runSetup(current, [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Print Setup");
        const auto* printer = dialog.findChild<QComboBox*>("PrinterBox");
        ASSERT_NE(printer, nullptr);
        EXPECT_EQ(printer->currentText(), pdfPrinterCaption);
        EXPECT_EQ(dialog.findChild<QLineEdit*>("PdfFileEdit")->text(), "/tmp/out.pdf");
        EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox*>("LeftMarginBox")->value(), 1.0);
        EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox*>("BottomMarginBox")->value(), 0.25);

        // A label that shows its "&" or has no field to go to makes its key dead; two controls
        // with one key make it ambiguous.
        std::map<QChar, QString> keys;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            const QChar key = accessKeyOf(label->text());
            if (key.isNull())
                continue;
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
            EXPECT_TRUE(keys.emplace(key, label->text()).second)
                << label->text().toStdString() << " and " << keys[key].toStdString();
        }
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
            const QChar key = accessKeyOf(button->text());
            if (!key.isNull())
                EXPECT_TRUE(keys.emplace(key, button->text()).second)
                    << button->text().toStdString() << " and " << keys[key].toStdString();
        }
        EXPECT_GE(keys.size(), 8u);
    });
    EXPECT_FALSE(chosen.has_value()); // closed without OK
}

TEST(QtPrintSetup, OkNeedsAPdfFileNameAndReturnsTheMarginsInThousandths)
{
    TPageSetup current;
    current.ToPdf = true;
    const auto chosen = runSetup(current, [](QDialog& dialog) {
        auto* file = dialog.findChild<QLineEdit*>("PdfFileEdit");
        EXPECT_TRUE(file->isEnabled());
        EXPECT_FALSE(okButton(dialog)->isEnabled());
        file->setText("  ");
        EXPECT_FALSE(okButton(dialog)->isEnabled());
        file->setText(" /tmp/printed.pdf ");
        EXPECT_TRUE(okButton(dialog)->isEnabled());
        dialog.findChild<QDoubleSpinBox*>("TopMarginBox")->setValue(0.75);
        dialog.findChild<QDoubleSpinBox*>("RightMarginBox")->setValue(0.3333);
        okButton(dialog)->click();
    });
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(chosen->ToPdf);
    EXPECT_EQ(chosen->PdfFileName, "/tmp/printed.pdf");
    EXPECT_TRUE(chosen->PrinterName.empty());
    EXPECT_EQ(chosen->MarginLeft, 0);
    EXPECT_EQ(chosen->MarginTop, 750);
    EXPECT_EQ(chosen->MarginRight, 333);
    EXPECT_EQ(chosen->MarginBottom, 0);
}
