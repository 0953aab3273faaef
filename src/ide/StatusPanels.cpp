#include "ide/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {
struct PanelLayout {
    int width; // 0: takes the rest
    Qt::Alignment alignment;
};
constexpr PanelLayout panelLayouts[TStatusPanels::PanelCount] = {
    {90, Qt::AlignCenter}, {100, Qt::AlignCenter}, {110, Qt::AlignCenter},
    {100, Qt::AlignCenter}, {90, Qt::AlignCenter}, {0, Qt::AlignLeft | Qt::AlignVCenter},
};
} // namespace

TStatusPanels::TStatusPanels(QWidget* parent) : QWidget(parent)
{
    setObjectName("StatusBar1");
    QFont font("Tahoma");
    font.setBold(true);
    font.setPointSize(8);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QString("Panel%1").arg(i));
        panel->setFont(font);
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(panelLayouts[i].alignment);
        if (panelLayouts[i].width > 0)
            panel->setFixedWidth(panelLayouts[i].width);
        else
            panel->setMinimumWidth(50);
        layout->addWidget(panel, panelLayouts[i].width > 0 ? 0 : 1);
        m_panels[i] = panel;
    }
    setFixedHeight(fontMetrics().height() + 10);
}

QString TStatusPanels::panelText(int index) const
{
    return index >= 0 && index < PanelCount ? m_panels[index]->text() : QString();
}

void TStatusPanels::setPanelText(int index, const QString& text)
{
    if (index >= 0 && index < PanelCount)
        m_panels[index]->setText(text);
}
