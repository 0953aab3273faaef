// TSM_HotKey: a read-only line that captures one key combination. Every key-down replaces the
// value with the key and the Shift, Ctrl and Alt held with it; the field takes every key for
// itself (Tab, the arrows, Return and Escape included), so no key moves the focus away or
// closes the dialog while the field has it. Shift, Ctrl and Alt alone change nothing: they are
// held for the key that follows.
#pragma once

#include "platform/VirtualKeys.h"

#include <QLineEdit>

class TSM_HotKey : public QLineEdit
{
    Q_OBJECT
public:
    explicit TSM_HotKey(QWidget* parent = nullptr);

    // The shortcut shown; 0 (none) shows an empty field.
    TShortCut value() const { return m_value; }
    void setValue(TShortCut value);
    // With AltOnly set, a key is stored with Alt alone whatever was held (the template hot key).
    bool altOnly() const { return m_altOnly; }
    void setAltOnly(bool altOnly) { m_altOnly = altOnly; }

signals:
    void valueChanged(TShortCut value);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    TShortCut m_value = 0;
    bool m_altOnly = false;
};
