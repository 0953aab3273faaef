// The program and EEPROM data windows and the load of a HEX file into them.
#include "build/qt/DataLists.h"

#include "build/HexDecoder.h"
#include "platform/QtText.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSplitter>

#include <algorithm>

namespace {

// Characters of a full record of 8 entries: "0000- " and 8 x "0000 " or 8 x "00 ".
constexpr int kProgramRecordChars = 6 + 8 * 5;
constexpr int kEepromRecordChars = 6 + 8 * 3;
constexpr int kBoxPadding = 24;

QPlainTextEdit* makeBox(QWidget* parent, const char* name)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font("Courier New", 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    box->setFont(font);
    return box;
}

QString joinLines(const std::vector<std::string>& lines)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        texts << cp1252ToQString(line);
    return texts.join('\n');
}

} // namespace

TDataListForm::TDataListForm(ListingWindow kind, std::string iniFile, QWidget* parent,
                             const char* hexName, const char* asciiName, int recordChars)
    : TListingForm(kind, std::move(iniFile), parent)
{
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    m_hexBox = makeBox(Splitter1, hexName);
    m_asciiBox = makeBox(Splitter1, asciiName);
    Splitter1->addWidget(m_hexBox);
    Splitter1->addWidget(m_asciiBox);
    // The hex box opens wide enough for a full record.
    const int hexWidth = m_hexBox->fontMetrics().horizontalAdvance(QString(recordChars, '0')) +
                         2 * m_hexBox->frameWidth() + kBoxPadding;
    Splitter1->setSizes({hexWidth, std::max(width() - hexWidth, kBoxPadding)});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter1);
}

void TDataListForm::setLines(const std::vector<std::string>& hexLines,
                             const std::vector<std::string>& asciiLines)
{
    m_hexBox->setPlainText(joinLines(hexLines));
    m_asciiBox->setPlainText(joinLines(asciiLines));
}

void TDataListForm::clearBoxes()
{
    m_hexBox->clear();
    m_asciiBox->clear();
}

void TDataListForm::clearHexBox()
{
    m_hexBox->clear();
}

THEXList::THEXList(std::string iniFile, QWidget* parent)
    : TDataListForm(ListingWindow::ProgramData, std::move(iniFile), parent, "CODE_MEMO",
                    "CODE_ASCII_MEMO", kProgramRecordChars),
      CODE_MEMO(hexBox()), CODE_ASCII_MEMO(asciiBox())
{
    setObjectName("HEXList");
    setWindowTitle("Program Data");
}

TDATAList::TDATAList(std::string iniFile, QWidget* parent)
    : TDataListForm(ListingWindow::EepromData, std::move(iniFile), parent, "DATA_MEMO",
                    "DATA_ASCII_MEMO", kEepromRecordChars),
      DATA_MEMO(hexBox()), DATA_ASCII_MEMO(asciiBox())
{
    setObjectName("DATAList");
    setWindowTitle("Eeprom Data");
}

void showHexListing(THEXList& program, TDATAList& eeprom, const THexListing& listing)
{
    program.setLines(listing.codeLines, listing.codeAsciiLines);
    eeprom.setLines(listing.dataLines, listing.dataAsciiLines);
}

bool LoadHexFile(THEXList& program, TDATAList& eeprom, const std::string& path)
{
    program.clearBoxes();
    eeprom.clearBoxes();
    const std::optional<THexListing> listing = LoadHexFile(path);
    if (!listing)
        return false;
    showHexListing(program, eeprom, *listing);
    return true;
}
