// The Options page: the option check boxes and the number fields. A box changes its bit in the
// copy at once. The indent step, wrap column, tab columns and tab stop are given to the preview
// editor when the field is left, and its rules decide what is kept; the gutter width and right
// margin are stored on every change.
#include "editor/dialogs/OptionsDialog.h"

#include "editor/dialogs/NumberFields.h"
#include "editor/dialogs/OptionBoxes.h"
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoProperties.h"
#include "highlight/registry/SettingsErrors.h"
#include "platform/KeyEventMapping.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString number(int value)
{
    return QString::number(value);
}

} // namespace

QWidget* TOptionsDialog::createOptionsPage()
{
    auto* page = new QWidget;
    page->setObjectName("OptionsPage");
    auto* options = new QGroupBox(QStringLiteral("Options"), page);
    auto* columns = new QHBoxLayout(options);
    QVBoxLayout* print = new QVBoxLayout;
    QVBoxLayout* general[2] = {new QVBoxLayout, new QVBoxLayout};
    auto heading = [options](const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text), options);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        return label;
    };
    print->addWidget(heading("Print Options"));
    general[0]->addWidget(heading("General options"));
    general[1]->addWidget(new QLabel(QString(), options));
    int generalCount = 0;
    for (const TOptionBox& box : optionBoxes()) {
        auto* check = new QCheckBox(QString::fromUtf8(box.caption), options);
        check->setObjectName(box.name);
        check->setProperty("option", static_cast<uint>(box.option));
        connect(check, &QCheckBox::toggled, this, [this, &box](bool on) { OptionBoxClick(box, on); });
        m_optionBoxes.emplace_back(&box, check);
        if (box.group == TOptionGroup::Print)
            print->addWidget(check);
        else
            general[generalCount++ < 8 ? 0 : 1]->addWidget(check);
    }
    for (QVBoxLayout* column : {print, general[0], general[1]}) {
        column->addStretch(1);
        columns->addLayout(column);
    }

    auto* fields = new QGridLayout;
    m_indentStep = addNumberField(fields, 0, "IndentStepBox", "Block indent step size");
    m_wrapColumn = addNumberField(fields, 1, "WrapColumnBox", "Word wrap column");
    m_tabColumns = addNumberField(fields, 2, "TabColumnsBox", "Tab Columns");
    m_tabDefault = addNumberField(fields, 3, "DeftabBox", "Tab stop");
    m_tabColumns->setMinimumWidth(220);
    connect(m_indentStep, &QLineEdit::editingFinished, this, &TOptionsDialog::IndentStepBoxExit);
    connect(m_wrapColumn, &QLineEdit::editingFinished, this, &TOptionsDialog::WrapColumnBoxExit);
    connect(m_tabColumns, &QLineEdit::editingFinished, this, &TOptionsDialog::TabColumnsBoxExit);
    connect(m_tabDefault, &QLineEdit::editingFinished, this, &TOptionsDialog::DeftabBoxExit);
    for (QLineEdit* field : {m_indentStep, m_wrapColumn})
        field->installEventFilter(this);

    auto* widths = new QGroupBox(QStringLiteral("Gutter width"), page);
    auto* widthRow = new QHBoxLayout(widths);
    widthRow->addWidget(widthField(m_gutterWidth, "LeftBorderWidthBox"));
    widthRow->addSpacing(12);
    widthRow->addWidget(new QLabel(QStringLiteral("Right margin"), widths));
    widthRow->addWidget(widthField(m_rightMargin, "RightMarginWidthBox"));
    widthRow->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(widths);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(options, 1);
    layout->addLayout(right);
    return page;
}

QLineEdit* TOptionsDialog::addNumberField(QGridLayout* grid, int row, const char* name, const char* caption)
{
    auto* field = new QLineEdit;
    field->setObjectName(name);
    auto* label = new QLabel(QString::fromUtf8(caption));
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return field;
}

// A field of at most three characters with a small up/down spin button at its right edge.
QWidget* TOptionsDialog::widthField(QLineEdit*& field, const char* name)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    field = new QLineEdit(box);
    field->setObjectName(name);
    field->setMaxLength(kWidthFieldLength);
    field->setFixedWidth(QFontMetrics(field->font()).horizontalAdvance(QStringLiteral("0000")) + 10);
    field->installEventFilter(this);
    row->addWidget(field);
    auto* spin = new QVBoxLayout;
    spin->setSpacing(0);
    QLineEdit* target = field;
    for (const auto& [arrow, step] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(box);
        button->setObjectName(QString::fromUtf8(name) + (step > 0 ? "Up" : "Down"));
        button->setArrowType(arrow);
        button->setFixedSize(16, field->sizeHint().height() / 2);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        connect(button, &QToolButton::clicked, this, [this, target, step = step] { spinWidthField(target, step); });
        spin->addWidget(button);
    }
    row->addLayout(spin);
    connect(field, &QLineEdit::textEdited, this, [this, target] { widthFieldChanged(target); });
    return box;
}

void TOptionsDialog::fillOptionsPage()
{
    const TSM_Settings& copy = settings();
    const auto word = static_cast<uint32_t>(copy.options);
    for (const auto& [box, check] : m_optionBoxes)
        check->setChecked((word & box->option) != 0);
    m_indentStep->setText(number(copy.indentStep));
    m_wrapColumn->setText(number(copy.wordWrapColumn));
    m_tabColumns->setText(QString::fromStdString(TabColumns(*FEditor)));
    m_tabColumns->setCursorPosition(0);
    m_tabDefault->setText(number(copy.tabDefault));
    m_gutterWidth->setText(number(copy.gutterWidth));
    m_rightMargin->setText(number(copy.rightMargin));
    updateOptionBoxes();
}

void TOptionsDialog::OptionBoxClick(const TOptionBox& box, bool checked)
{
    if (m_updating)
        return;
    FEditor->SetOptions(withOption(FEditor->Options(), box.option, checked));
    previewChanged();
    updateOptionBoxes();
}

void TOptionsDialog::updateOptionBoxes()
{
    const auto word = static_cast<uint32_t>(settings().options);
    const bool pastEnd = caretPastEndPermitted();
    for (const auto& [box, check] : m_optionBoxes)
        check->setEnabled(optionBoxEnabled(*box, word, pastEnd));
}

// The preview lays text out on a grid of equal columns, where a caret past the line end has a
// place, only with a fixed-pitch font (the same test it measures its font with).
bool TOptionsDialog::caretPastEndPermitted() const
{
    const QFontMetrics metrics(FEditor->EditorFont());
    return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
}

void TOptionsDialog::IndentStepBoxExit()
{
    bool isNumber = false;
    const int step = m_indentStep->text().toInt(&isNumber);
    if (isNumber)
        SetIndentStep(*FEditor, step); // the editor keeps its step for values outside 1..19
    m_indentStep->setText(number(IndentStep(*FEditor)));
}

void TOptionsDialog::WrapColumnBoxExit()
{
    bool isNumber = false;
    const int column = m_wrapColumn->text().toInt(&isNumber);
    if (isNumber)
        FEditor->SetWrapAtColumn(column);
    m_wrapColumn->setText(number(FEditor->WrapAtColumn()));
}

void TOptionsDialog::TabColumnsBoxExit()
{
    const QString previous = QString::fromStdString(TabColumns(*FEditor));
    if (m_tabColumns->text() == previous)
        return;
    try {
        SetTabColumns(*FEditor, m_tabColumns->text().toStdString());
        m_tabColumns->setText(QString::fromStdString(TabColumns(*FEditor)));
    } catch (const ESourceMemo& refused) {
        // The old list is back before the message shows, so leaving the field again while
        // the box is up finds nothing to refuse.
        m_tabColumns->setText(previous);
        showError(refused.Message());
    }
}

void TOptionsDialog::DeftabBoxExit()
{
    const QString previous = number(TabDefault(*FEditor));
    if (m_tabDefault->text() == previous)
        return;
    try {
        SetTabDefault(*FEditor, strToInt(m_tabDefault->text().toStdString()));
        m_tabDefault->setText(number(TabDefault(*FEditor)));
    } catch (const Exception& refused) {
        m_tabDefault->setText(previous);
        showError(refused.Message());
    }
}

// The gutter width and right margin take what was typed when it is a number from 0 to 199 and
// "1" otherwise; the copy stores the value and the preview shows it.
void TOptionsDialog::widthFieldChanged(QLineEdit* field)
{
    const std::string corrected = correctedWidthField(field->text().toStdString());
    if (field->text().toStdString() != corrected)
        field->setText(QString::fromStdString(corrected));
    const int value = widthFieldValue(corrected);
    if (field == m_gutterWidth)
        settings().gutterWidth = value;
    else
        settings().rightMargin = value;
    previewChanged();
}

void TOptionsDialog::spinWidthField(QLineEdit* field, int step)
{
    field->setText(QString::fromStdString(spunWidthField(field->text().toStdString(), step)));
    widthFieldChanged(field);
}

// The number fields let through only the keys their rules allow; the arrows of the width
// fields step them like their spin buttons.
bool TOptionsDialog::filterFieldKey(QObject* watched, QKeyEvent* event)
{
    const bool widthField = watched == m_gutterWidth || watched == m_rightMargin;
    const bool stepField = watched == m_indentStep || watched == m_wrapColumn;
    if (!widthField && !stepField)
        return false;
    if (widthField && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        spinWidthField(static_cast<QLineEdit*>(watched), event->key() == Qt::Key_Up ? 1 : -1);
        return true;
    }
    if (event->key() == Qt::Key_Backtab)
        return false;
    const TShortCut key = shortCutOf(*event);
    return widthField ? !widthFieldAcceptsKey(key) : !stepFieldAcceptsKey(key);
}
