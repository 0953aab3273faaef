// The rules of the two-step key assignment wizard: its title, which buttons can be used at each
// step, and where its parts go once the info texts are measured.
#pragma once

#include "platform/VirtualKeys.h"

#include <array>
#include <string>
#include <string_view>

enum class TKeyAssignMode { Edit = 0, Add = 1 };

// "Add new key pair for: " or "Edit key pair for: " and the command's description.
std::string keyAssignTitle(TKeyAssignMode mode, std::string_view description);

struct TKeyAssignButtons
{
    bool next = false;        // "Next >" on step 1, "Finish" on step 2
    bool finishCaption = false;
    bool back = false;
    bool clearFirst = false;
    bool clearSecond = false;
};
// Next or Finish needs a first key; Back exists on step 2 only; each Clear needs its key.
TKeyAssignButtons keyAssignButtons(int step, TShortCut first, TShortCut second);

struct TBox
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
    bool operator==(const TBox&) const = default;
};

struct TKeyAssignMeasures
{
    std::array<TBox, 2> infoTexts; // placed at their left and top, sized as wrapped
    int fieldWidth = 0;
    int fieldHeight = 0;
    int clearWidth = 0;
    int clearHeight = 0;
    int barHeight = 0;               // the bottom bar holding Back, Next and Cancel
    std::array<int, 3> buttonWidths{}; // Back, Next, Cancel
    int buttonHeight = 0;
};

struct TKeyAssignLayout
{
    std::array<TBox, 2> fields;
    std::array<TBox, 2> clearButtons;
    std::array<TBox, 3> buttons; // in the bottom bar, in window coordinates
    int width = 0;
    int height = 0; // the step area and the bottom bar
};

// Each key field 15 pixels right of its info text, top level with it; each Clear 6 pixels
// below its field, right-aligned with it; the window as wide as the wider info text plus its
// left position plus a field's width plus 40, and tall enough for the higher info text or the
// first Clear button; the buttons right-aligned in the bottom bar, 8 pixels apart.
TKeyAssignLayout layoutKeyAssign(const TKeyAssignMeasures& measures);
