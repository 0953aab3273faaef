// The control's side of code templates and auto-correct: the tables follow the active
// settings, the host's two events, and the pick list of templates shown under the caret when
// the hot key finds no template name before it.
#include "editor/widget/SourceMemo.h"

#include "editor/marks/TemplateSettings.h"
#include "platform/QtText.h"

#include <QKeyEvent>
#include <QListWidget>

#include <algorithm>
#include <cctype>
#include <functional>

namespace {

// A list in a popup window: Return or a double click chooses, Escape closes it and gives the
// keys back to the editor (a click elsewhere closes it too, leaving the focus where it went).
class TTemplatePickList : public QListWidget
{
public:
    TTemplatePickList(QWidget* owner, std::function<void()> cancelled) : QListWidget(owner), m_cancelled(std::move(cancelled))
    {
        setWindowFlags(Qt::Popup);
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            close();
            m_cancelled();
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
            emit itemActivated(currentItem());
            return;
        }
        QListWidget::keyPressEvent(event);
    }

private:
    std::function<void()> m_cancelled;
};

bool startsWithFolded(const std::string& text, const std::string& lowerPrefix)
{
    if (text.size() < lowerPrefix.size())
        return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != lowerPrefix[i])
            return false;
    return true;
}

} // namespace

QListWidget* TSourceMemo::TemplatePickList() const
{
    return qobject_cast<QListWidget*>(m_templateList.data());
}

void TSourceMemo::applyTemplates(const TSM_Settings& settings)
{
    TemplatesFromSettings(settings, m_expansion->Templates());
    AutoReplaceFromSettings(settings, m_expansion->AutoReplace());
}

void TSourceMemo::TemplateFired(const std::string& name, std::string& replacement)
{
    if (OnTemplateEvent)
        OnTemplateEvent(this, name, replacement);
}

void TSourceMemo::AutoReplaceFired(TEdStream& stream, const std::string& item, std::string& replaceWith,
                                   bool& canReplace)
{
    if (OnAutoReplace)
        OnAutoReplace(this, stream, item, replaceWith, canReplace);
}

// The templates sorted by name, each with its description; the first whose name starts with
// the word is current. The word stays selected and shown while the list has the focus.
void TSourceMemo::ShowTemplateList(const std::string& word)
{
    if (m_templateList)
        m_templateList->close();
    std::vector<const TMacroEntry*> entries;
    for (const TMacroEntry& entry : m_expansion->Templates().Entries())
        entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(), [](const TMacroEntry* a, const TMacroEntry* b) {
        return std::lexicographical_compare(a->Name.begin(), a->Name.end(), b->Name.begin(), b->Name.end(),
                                            [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y)); });
    });
    auto* list = new TTemplatePickList(this, [this] { takeKeysBack(); });
    list->setFont(QFont("Arial", 8));
    int current = 0;
    for (const TMacroEntry* entry : entries) {
        QString text = cp1252ToQString(entry->Name);
        if (!entry->Description.empty())
            text += "  -  " + cp1252ToQString(entry->Description);
        auto* item = new QListWidgetItem(text, list);
        item->setData(Qt::UserRole, QByteArray::fromStdString(entry->Name));
        if (current == 0 && !word.empty() && startsWithFolded(entry->Name, word))
            current = list->count() - 1;
    }
    list->setCurrentRow(current);
    connect(list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        chooseTemplate(item->data(Qt::UserRole).toByteArray().toStdString());
    });
    connect(list, &QObject::destroyed, this, [this] { invalidate(); });
    const QPoint caret = PosFromChar(m_editor->SelCaret()) + QPoint(0, m_lineHeight);
    const int rows = std::min(list->count(), 10);
    list->resize(std::max(160, list->sizeHintForColumn(0) + 24), rows * list->sizeHintForRow(0) + 6);
    list->move(viewport()->mapToGlobal(caret));
    m_templateList = list;
    list->show();
    list->setFocus();
    invalidate();
}

void TSourceMemo::takeKeysBack()
{
    window()->activateWindow();
    setFocus(Qt::PopupFocusReason);
}

void TSourceMemo::chooseTemplate(const std::string& name)
{
    if (m_templateList)
        m_templateList->close();
    takeKeysBack();
    const TMacroEntry* entry = m_expansion->Templates().Find(name);
    if (!entry)
        return;
    const TMacroEntry chosen = *entry; // OnTemplateEvent may change the table
    m_expansion->ExpandChoice(chosen);
    ScrollCaretIntoView();
    m_editor->NotifyChange();
    invalidate();
}
