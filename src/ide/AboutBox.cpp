// The about box: the program's icon, the product, its version and one line about it.
#include "ide/AboutBox.h"

#include "ide/icon/AppIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("AboutForm");
    setWindowTitle("KALTOR+");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(renderAppIcon(64)));
    auto* texts = new QVBoxLayout;
    auto* product = new QLabel(kProductName, this);
    product->setObjectName("ProductName");
    QFont big = product->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(kProductVersion, this);
    version->setObjectName("Version");
    auto* comments = new QLabel("BASIC compiler for the 12, 14 and 16-bit core devices", this);
    comments->setObjectName("Comments");
    texts->addWidget(product);
    texts->addWidget(version);
    texts->addWidget(comments);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setToolTip("Return to the Compiler.");
    OKButton->setStatusTip("Return to the Compiler.");
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}
