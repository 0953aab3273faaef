#include "glyphcast/core/ConversionRun.h"

#include "glyphcast/core/GlyphSampler.h"

TConversionRun::TConversionRun(TGlyphRaster& raster, TPreviewGrid& grid,
                               const TConversionSettings& settings)
    : m_raster(raster), m_grid(grid), m_settings(settings)
{
}

bool TConversionRun::run(const TTableHeading& heading, TConversionObserver& observer)
{
    m_text = tableHeader(heading, m_settings);
    for (int code = FirstCharacterCode; code <= LastCharacterCode; ++code) {
        // A snapshot, so one character is sampled with one set of values throughout.
        const TConversionSettings settings = m_settings;
        TSampledGlyph glyph = sampleCharacter(m_raster, code, settings, m_grid,
                                              [&observer] { return observer.byteRowDone(); });
        if (!glyph.complete)
            return false;
        m_text += characterText(code, glyph, heading.label, settings);
        observer.characterDone(code, m_text);
        drawGuideLines(m_raster, m_settings);
        observer.waitForStep();
    }
    return true;
}
