// The ASCII table's controls: a header label over a read-only list in a fixed-pitch font.
#include "ide/AsciiTableWindow.h"

#include "ide/AsciiTable.h"
#include "platform/QtText.h"

#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TASCII::TASCII(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName("ASCII");
    setWindowTitle("ASCII Table");
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"Courier New", font.family()});
    font.setPointSize(10);
    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(kAsciiTableHeader, this);
    header->setObjectName("HeaderLabel");
    header->setFont(font);
    header->setTextFormat(Qt::PlainText);
    header->setContentsMargins(4, 0, 0, 0);
    List = new QListWidget(this);
    List->setObjectName("ListBox1");
    List->setFont(font);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int code = 0; code < 256; ++code)
        List->addItem(cp1252ToQString(asciiTableRow(code)));
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    connect(CancelButton, &QPushButton::clicked, this, &TASCII::CancelButtonClick);
    layout->addWidget(header);
    layout->addWidget(List, 1);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    const int width = QFontMetrics(font).horizontalAdvance(QString(34, 'M')) + 40;
    setFixedSize(width, 420);
}

void TASCII::CancelButtonClick()
{
    hide();
    setEnabled(false);
}
