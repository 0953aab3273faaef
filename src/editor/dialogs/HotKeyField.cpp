#include "editor/dialogs/HotKeyField.h"

#include "editor/dialogs/ExpansionLists.h"
#include "editor/keys/KeyNames.h"
#include "platform/KeyEventMapping.h"

#include <QKeyEvent>

TSM_HotKey::TSM_HotKey(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void TSM_HotKey::setValue(TShortCut value)
{
    setText(QString::fromStdString(shortCutToText(value)));
    deselect();
    if (value == m_value)
        return;
    m_value = value;
    emit valueChanged(value);
}

// Key presses reach the field before the window looks at them: Tab is not a focus move,
// Return and Escape do not close the dialog, and shortcuts of the window do not fire.
bool TSM_HotKey::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QLineEdit::event(event);
}

void TSM_HotKey::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const int key = event->key();
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
        key == Qt::Key_AltGr)
        return;
    TShortCut pressed = shortCutOf(*event);
    if (!(pressed & vk::scKeyMask))
        return;
    if (m_altOnly)
        pressed = templateHotKeyOf(pressed);
    setValue(pressed);
}

// The key shows as plain text: nothing in it is selected, since nothing can be typed over.
void TSM_HotKey::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    deselect();
}
