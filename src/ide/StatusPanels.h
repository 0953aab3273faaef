// The main window's status bar: six fixed panels side by side (caret position, modified flag,
// device, code size, RAM size, typing mode or hint). Panel widths and alignments never change;
// the last panel takes whatever width is left.
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;

class TStatusPanels : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PanelCount = 6;

    explicit TStatusPanels(QWidget* parent = nullptr);

    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);

private:
    QLabel* m_panels[PanelCount] = {};
};
