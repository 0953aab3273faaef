#include "SettingsSamples.h"

#include "base/Exception.h"

#include <algorithm>

TSM_Settings richSettings()
{
    TSM_Settings s;
    s.languageName = "ZENBASIC";
    s.options = 43075601;
    s.gutterWidth = 40;
    s.gutterColor = clBtnFace;
    s.wordWrapColumn = 72;
    s.indentStep = 2;
    s.wrapOverride = "#>|:";
    s.font = FontSpec{"Lucida #Console", 11, 238};
    s.selTextColor = 0x00FF00;
    s.selTextBack = clHighlight;
    s.tabStops.fill(-1);
    s.tabStops[0] = 4;
    s.tabStops[1] = 8;
    s.tabStops[2] = 60;
    s.tabDefault = 3;
    s.styles[0] = {0, clBlack, clWhite, 0, 0, 0, 1};
    s.styles[1] = {fsBold, 0x0000FF, clWhite, 0, 0, 0, 1};
    s.styles[2] = {fsItalic | fsUnderline, clWindowText, clBtnFace, 0, 0, 0, 1};
    s.styles[3] = {0, 0x123456, 0x654321, 1, 0, 0, 1};
    s.styles[4] = {0, 0x123456, 0x654321, 0, 1, 0, 1};
    s.styles[200] = {fsBold | fsItalic | fsUnderline, -5, -2147483647 - 1, 1, 1, 0, 1};
    s.styles[255] = {fsUnderline, 0xFFFFFF, 0, 0, 0, 0, 1};
    s.gutterColorDerived = 1;
    s.marginColorDerived = 0;
    s.selTextColorDerived = 1;
    s.selTextBackDerived = 1;
    s.rightMargin = 100;
    s.gutterFont = GutterFontSpec{FontSpec{"Tahoma", 9, 0}, 0x123456,
                                  fsItalic | fsBold | fsUnderline | fsStrikeOut};
    // F5 runs Undo; single keys are stored before the second keys of prefixes.
    auto& bindings = s.keyMap.bindings;
    const auto firstSequence = std::find_if(bindings.begin(), bindings.end(),
                                            [](const KeyBindingRecord& b) { return b.second != 0; });
    bindings.insert(firstSequence, KeyBindingRecord{0x74, 0, 41});
    return s;
}

std::string errorOf(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const Exception& e) {
        return e.what();
    }
    return "no error";
}
