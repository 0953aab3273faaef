#include "editor/widget/RegExpErrorDialog.h"

#include "platform/QtText.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TRegExpErrorDialog::TRegExpErrorDialog(const std::string& text, QWidget* parent) : QDialog(parent)
{
    setObjectName("RegExpErrorDialog");
    setWindowTitle("Error");
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(size, size));
    MessageLabel = new QLabel(this);
    MessageLabel->setObjectName("MessageLabel");
    MessageLabel->setTextFormat(Qt::PlainText);
    MessageLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MessageLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QString shown = cp1252ToQString(text);
    shown.replace('\r', '\n');
    MessageLabel->setText(shown);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(MessageLabel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
