#include "editor/dialogs/ColorPickButton.h"

#include "editor/dialogs/ChooserDialogs.h"
#include "editor/dialogs/ColorPalette.h"
#include "platform/QtColors.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int kCell = 22;
constexpr int kCellGap = 3;

// The grid of palette colours. The current cell is framed; the arrows move it and Home takes
// it to the first cell.
class TPaletteGrid : public QWidget
{
public:
    TPaletteGrid(TColorValue current, std::function<void(TColorValue)> chosen, QWidget* parent)
        : QWidget(parent), m_chosen(std::move(chosen))
    {
        setObjectName("PaletteGrid");
        setFocusPolicy(Qt::StrongFocus);
        setFixedSize(kPaletteColumns * (kCell + kCellGap) + kCellGap, kPaletteRows * (kCell + kCellGap) + kCellGap);
        for (int i = 0; i < static_cast<int>(kPaletteColors.size()); ++i)
            if (kPaletteColors[static_cast<size_t>(i)] == current)
                m_current = i;
    }

    // The cell of each palette colour, for the mouse and for tests.
    static QRect cellRect(int column, int row)
    {
        return {kCellGap + column * (kCell + kCellGap), kCellGap + row * (kCell + kCellGap), kCell, kCell};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int column = 0; column < kPaletteColumns; ++column) {
            for (int row = 0; row < kPaletteRows; ++row) {
                const QRect cell = cellRect(column, row);
                painter.fillRect(cell, colorFromColorRef(paletteColor(column, row)));
                painter.setPen(palette().color(QPalette::Mid));
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
                if (column * kPaletteRows + row == m_current) {
                    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
                    painter.drawRect(cell.adjusted(-2, -2, 1, 1));
                }
            }
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        for (int column = 0; column < kPaletteColumns; ++column)
            for (int row = 0; row < kPaletteRows; ++row)
                if (cellRect(column, row).contains(event->position().toPoint()))
                    m_chosen(paletteColor(column, row));
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        int column = m_current < 0 ? 0 : m_current / kPaletteRows;
        int row = m_current < 0 ? 0 : m_current % kPaletteRows;
        switch (event->key()) {
        case Qt::Key_Left: column = (column + kPaletteColumns - 1) % kPaletteColumns; break;
        case Qt::Key_Right: column = (column + 1) % kPaletteColumns; break;
        case Qt::Key_Up: row = (row + kPaletteRows - 1) % kPaletteRows; break;
        case Qt::Key_Down: row = (row + 1) % kPaletteRows; break;
        case Qt::Key_Home: column = row = 0; break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (m_current >= 0)
                m_chosen(kPaletteColors[static_cast<size_t>(m_current)]);
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
        }
        m_current = column * kPaletteRows + row;
        update();
    }

private:
    std::function<void(TColorValue)> m_chosen;
    int m_current = -1;
};

} // namespace

TColorPickButton::TColorPickButton(QWidget* parent) : QPushButton(parent)
{
    setFixedWidth(kWidth);
    // Return in a dialog belongs to its default button, not to the colour the focus is on.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &TColorPickButton::DropDown);
}

void TColorPickButton::setColor(TColorValue color)
{
    m_color = color;
    update();
}

void TColorPickButton::choose(TColorValue color)
{
    if (m_palette)
        m_palette->close();
    setColor(color);
    emit colorChosen(color);
}

void TColorPickButton::chooseOther()
{
    if (m_palette)
        m_palette->close();
    if (const std::optional<TColorValue> color = chooserDialogs().chooseColor(m_color))
        choose(*color);
}

void TColorPickButton::DropDown()
{
    if (m_palette)
        return;
    auto* popup = new QFrame(this, Qt::Popup);
    popup->setObjectName("ColorPalette");
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(popup);
    layout->setContentsMargins(3, 3, 3, 3);
    auto* grid = new TPaletteGrid(m_color, [this](TColorValue color) { choose(color); }, popup);
    layout->addWidget(grid);
    auto* other = new QPushButton(QStringLiteral("&Other"), popup);
    other->setObjectName("OtherButton");
    layout->addWidget(other);
    // The dialog opens after the palette has closed, so it does not sit under a popup.
    connect(other, &QPushButton::clicked, this, [this] { QMetaObject::invokeMethod(this, &TColorPickButton::chooseOther, Qt::QueuedConnection); });
    m_palette = popup;
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
    grid->setFocus();
}

void TColorPickButton::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const int arrow = 14;
    QRect swatch = rect().adjusted(6, 6, -6 - arrow, -6);
    painter.fillRect(swatch, isEnabled() ? colorFromColorRef(m_color) : palette().color(QPalette::Button));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    QStyleOption option;
    option.initFrom(this);
    option.rect = QRect(width() - 6 - arrow, (height() - arrow) / 2, arrow, arrow);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, this);
}
