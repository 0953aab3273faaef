// The BASIC text of a font table: a comment header with a word table of pointers to one label
// per character, then one CDATA line of column bytes per character. Lines end in CR LF.
#pragma once

#include "glyphcast/core/ConversionSettings.h"
#include "glyphcast/core/GlyphSampler.h"
#include "glyphcast/core/LabelStem.h"

#include <string>

inline constexpr int FirstCharacterCode = 32;
inline constexpr int LastCharacterCode = 127;

struct TTableHeading
{
    std::string fontName;  // trimmed name caption
    std::string pointSize; // trimmed size caption
    bool bold = false;
    bool italic = false;
    std::string label; // trimmed label stem
};

// The label number of a character: code - 32 with the label offset option, else the code.
int labelNumber(int code, const TConversionSettings& settings);

std::string tableHeader(const TTableHeading& heading, const TConversionSettings& settings);

// The optional label line and the data line of one sampled character.
std::string characterText(int code, const TSampledGlyph& glyph, const std::string& label,
                          const TConversionSettings& settings);
