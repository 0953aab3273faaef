// TColorPickButton: a button showing a colour; pressing it drops down a palette of 4 by 5
// colours and an "&Other" button that opens the colour dialog. Choosing a colour sets the
// button's colour and emits colorChosen. The palette is used with the mouse or the keyboard
// (arrows move, Home goes to the first colour, Return or Space choose, Escape closes).
#pragma once

#include "highlight/ParserSettings.h"

#include <QPointer>
#include <QPushButton>

class TColorPickButton : public QPushButton
{
    Q_OBJECT
public:
    static constexpr int kWidth = 124;

    explicit TColorPickButton(QWidget* parent = nullptr);

    TColorValue color() const { return m_color; }
    // Shows color without emitting colorChosen.
    void setColor(TColorValue color);
    // The drop-down palette while it is shown, else null.
    QWidget* paletteWindow() const { return m_palette; }
    // Drops the palette down under the button.
    void DropDown();

signals:
    void colorChosen(TColorValue color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose(TColorValue color);
    void chooseOther();

    TColorValue m_color = clBlack;
    // Tracks the open palette; a guarded pointer, because the palette, a child of the button, may
    // be destroyed while the button itself is being destroyed.
    QPointer<QWidget> m_palette;
};
