// The font captions and the default label stem derived from the font.
#pragma once

#include <string>

struct TFontDescription
{
    std::string name;
    double pointSize = 0;
    bool bold = false;
    bool italic = false;
};

// The point size as a money value: at most four decimals, no trailing zeros, no grouping,
// the given decimal separator (9.75 -> "9.75", 10 -> "10").
std::string sizeCaption(double pointSize, char decimalSeparator = '.');

// First five characters of the name (blank-padded, blanks as "_"), "_B" or "__", "I_" or "__",
// then the first five characters of the size caption (blank-padded, "." and "," as "o").
// The result may end in blanks; every user trims it.
std::string defaultLabelStem(const std::string& fontName, bool bold, bool italic,
                             const std::string& sizeCaptionText);

std::string trimmed(const std::string& text);
