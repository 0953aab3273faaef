// One conversion of the characters 32..127 into table text: the header, then each character
// sampled and its lines appended. The window takes part through an observer, which lets events
// through, shows progress and decides about stopping.
#pragma once

#include "glyphcast/core/ConversionSettings.h"
#include "glyphcast/core/GlyphRaster.h"
#include "glyphcast/core/PreviewGrid.h"
#include "glyphcast/core/TableText.h"

#include <string>

class TConversionObserver
{
public:
    virtual ~TConversionObserver() = default;
    // After every sampled byte row; returning false ends the run at once.
    virtual bool byteRowDone() = 0;
    // After each character's text was appended; text is everything generated so far.
    virtual void characterDone(int code, const std::string& text) = 0;
    // After characterDone; returns when a stepped conversion may go on (at once otherwise).
    virtual void waitForStep() = 0;
};

class TConversionRun
{
public:
    // settings is read afresh for every character, so changes made while the run lets events
    // through apply from the next character on.
    TConversionRun(TGlyphRaster& raster, TPreviewGrid& grid, const TConversionSettings& settings);

    // Returns true when all characters were converted, false when the observer stopped the run.
    bool run(const TTableHeading& heading, TConversionObserver& observer);
    const std::string& text() const { return m_text; }

private:
    TGlyphRaster& m_raster;
    TPreviewGrid& m_grid;
    const TConversionSettings& m_settings;
    std::string m_text;
};
