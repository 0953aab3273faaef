#include "platform/QtColors.h"

#include <QApplication>
#include <QPalette>

QColor colorFromColorRef(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    if (bits & 0x80000000u) {
        // The system colour indexes of the colours our settings use.
        const QPalette palette = QApplication::palette();
        switch (bits & 0xFF) {
        case 5: return palette.color(QPalette::Base);           // window
        case 8: return palette.color(QPalette::Text);           // window text
        case 13: return palette.color(QPalette::Highlight);
        case 14: return palette.color(QPalette::HighlightedText);
        case 15: return palette.color(QPalette::Button);        // button face
        case 16: return palette.color(QPalette::Dark);          // button shadow
        case 18: return palette.color(QPalette::ButtonText);
        case 20: return palette.color(QPalette::Light);         // button highlight
        default: return palette.color(QPalette::Window);
        }
    }
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}
