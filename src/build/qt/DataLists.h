// THEXList ("Program Data") and TDATAList ("Eeprom Data"): the program memory and EEPROM data
// decoded from the HEX file, each as a read-only box of hexadecimal values on the left and a
// box of the same values as characters on the right, with a splitter between. One load of a
// HEX file always fills both windows.
#pragma once

#include "build/qt/ListingForm.h"

#include <string>
#include <vector>

class QPlainTextEdit;
class QSplitter;
struct THexListing;

// The part the two windows share: the two boxes and the splitter.
class TDataListForm : public TListingForm
{
    Q_OBJECT
public:
    QPlainTextEdit* hexBox() const { return m_hexBox; }
    QPlainTextEdit* asciiBox() const { return m_asciiBox; }
    QSplitter* Splitter1 = nullptr;

    // Replaces both boxes' lines (Windows-1252 bytes).
    void setLines(const std::vector<std::string>& hexLines,
                  const std::vector<std::string>& asciiLines);
    void clearBoxes();
    void clearHexBox();

protected:
    // recordChars: the width of a full record's line, which the hex box opens with.
    TDataListForm(ListingWindow kind, std::string iniFile, QWidget* parent, const char* hexName,
                  const char* asciiName, int recordChars);

private:
    QPlainTextEdit* m_hexBox;
    QPlainTextEdit* m_asciiBox;
};

class THEXList : public TDataListForm
{
    Q_OBJECT
public:
    explicit THEXList(std::string iniFile, QWidget* parent = nullptr);
    QPlainTextEdit* CODE_MEMO;
    QPlainTextEdit* CODE_ASCII_MEMO;
};

class TDATAList : public TDataListForm
{
    Q_OBJECT
public:
    explicit TDATAList(std::string iniFile, QWidget* parent = nullptr);
    QPlainTextEdit* DATA_MEMO;
    QPlainTextEdit* DATA_ASCII_MEMO;
};

// Shows a decoded listing in both windows.
void showHexListing(THEXList& program, TDATAList& eeprom, const THexListing& listing);
// Clears all four boxes and fills them from the HEX file at path; an invalid file leaves them
// empty and returns false. A file that cannot be read raises EFOpenError or EReadError.
bool LoadHexFile(THEXList& program, TDATAList& eeprom, const std::string& path);
