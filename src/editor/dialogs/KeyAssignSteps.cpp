#include "editor/dialogs/KeyAssignSteps.h"

#include <algorithm>

namespace {

constexpr int kFieldGap = 15;
constexpr int kClearGap = 6;
constexpr int kRightSpace = 40;
constexpr int kButtonGap = 8;
constexpr int kBottomSpace = 8; // below the higher of the info text and the Clear button

} // namespace

std::string keyAssignTitle(TKeyAssignMode mode, std::string_view description)
{
    const char* start = mode == TKeyAssignMode::Add ? "Add new " : "Edit ";
    return std::string(start) + "key pair for: " + std::string(description);
}

TKeyAssignButtons keyAssignButtons(int step, TShortCut first, TShortCut second)
{
    TKeyAssignButtons buttons;
    buttons.next = first != 0;
    buttons.finishCaption = step == 2;
    buttons.back = step == 2;
    buttons.clearFirst = buttons.next;
    buttons.clearSecond = second != 0;
    return buttons;
}

TKeyAssignLayout layoutKeyAssign(const TKeyAssignMeasures& m)
{
    TKeyAssignLayout layout;
    int widestText = 0;
    int stepHeight = 0;
    for (size_t i = 0; i < 2; ++i) {
        const TBox& text = m.infoTexts[i];
        layout.fields[i] = {text.right() + kFieldGap, text.y, m.fieldWidth, m.fieldHeight};
        const TBox& field = layout.fields[i];
        layout.clearButtons[i] = {field.right() - m.clearWidth, field.bottom() + kClearGap, m.clearWidth,
                                  m.clearHeight};
        widestText = std::max(widestText, text.width);
        stepHeight = std::max(stepHeight, text.bottom());
    }
    stepHeight = std::max(stepHeight, layout.clearButtons[0].bottom()) + kBottomSpace;
    const int left = std::min(m.infoTexts[0].x, m.infoTexts[1].x);
    layout.width = widestText + left + m.fieldWidth + kRightSpace;
    layout.height = stepHeight + m.barHeight;
    int x = layout.width - kButtonGap;
    const int y = stepHeight + (m.barHeight - m.buttonHeight) / 2;
    for (size_t i = m.buttonWidths.size(); i-- > 0;) {
        x -= m.buttonWidths[i];
        layout.buttons[i] = {x, y, m.buttonWidths[i], m.buttonHeight};
        x -= kButtonGap;
    }
    return layout;
}
