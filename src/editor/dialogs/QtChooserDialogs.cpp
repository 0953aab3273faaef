#include "editor/dialogs/QtChooserDialogs.h"

#include "platform/QtColors.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>

TQtChooserDialogs::TQtChooserDialogs()
{
    // Sixteen custom colours, white until the user keeps others; Qt holds them while the
    // program runs.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, Qt::white);
}

std::optional<TColorValue> TQtChooserDialogs::chooseColor(TColorValue initial)
{
    const QColor chosen = QColorDialog::getColor(colorFromColorRef(initial), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<TColorValue>(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
}

std::optional<TFontChoice> TQtChooserDialogs::chooseFont(const TFontChoice& initial)
{
    QFont font(QString::fromStdString(initial.name));
    if (initial.size > 0)
        font.setPointSize(initial.size);
    font.setBold(initial.style & fsBold);
    font.setItalic(initial.style & fsItalic);
    font.setUnderline(initial.style & fsUnderline);
    font.setStrikeOut(initial.style & fsStrikeOut);
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, font, QApplication::activeWindow());
    if (!accepted)
        return std::nullopt;
    TFontChoice choice;
    choice.name = chosen.family().toStdString();
    choice.size = chosen.pointSize() > 0 ? chosen.pointSize() : initial.size;
    choice.style = static_cast<uint8_t>((chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
                                        (chosen.underline() ? fsUnderline : 0) |
                                        (chosen.strikeOut() ? fsStrikeOut : 0));
    choice.charset = initial.charset;
    return choice;
}
