#include "editor/dialogs/KeyAssignDialog.h"

#include "editor/dialogs/HotKeyField.h"
#include "editor/keys/KeyNames.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr int kInfoWidth = 225;
constexpr int kInfoLeft = 12;
constexpr int kInfoTop = 28; // below the step caption of the panel
constexpr int kFieldWidth = 150;
constexpr int kBarHeight = 41;

} // namespace

bool TKeyAssignDialog::Run(const std::string& description, const std::string& info1, const std::string& info2,
                           TKeyAssignMode mode, TShortCut& first, TShortCut& second, QWidget* parent)
{
    TKeyAssignDialog dialog(description, info1, info2, mode, first, second, parent);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    first = dialog.firstKey();
    second = dialog.secondKey();
    return accepted;
}

TKeyAssignDialog::TKeyAssignDialog(const std::string& description, const std::string& info1,
                                   const std::string& info2, TKeyAssignMode mode, TShortCut first,
                                   TShortCut second, QWidget* parent)
    : QDialog(parent)
{
    setObjectName("KeyAssignDialog");
    setWindowTitle(QString::fromStdString(keyAssignTitle(mode, description)));
    const std::array<const std::string*, 2> infos{&info1, &info2};
    const std::array<TShortCut, 2> keys{mode == TKeyAssignMode::Add ? TShortCut(0) : first,
                                        mode == TKeyAssignMode::Add ? TShortCut(0) : second};
    for (size_t i = 0; i < 2; ++i) {
        const QString number = QString::number(i + 1);
        QGroupBox* panel = new QGroupBox(QStringLiteral("Step ") + number, this);
        panel->setObjectName(QStringLiteral("StepPanel") + number);
        panel->setProperty("tag", static_cast<int>(i + 1));
        m_panels[i] = panel;
        m_infos[i] = new QLabel(QString::fromStdString(*infos[i]), panel);
        m_infos[i]->setObjectName(QStringLiteral("InfoText") + number);
        m_infos[i]->setWordWrap(true);
        m_fields[i] = new TSM_HotKey(panel);
        m_fields[i]->setObjectName(QStringLiteral("KeyField") + number);
        m_fields[i]->setValue(keys[i]);
        m_clears[i] = new QPushButton(QStringLiteral("Clear"), panel);
        m_clears[i]->setObjectName(QStringLiteral("ClearButton") + number);
        TSM_HotKey* field = m_fields[i];
        connect(m_clears[i], &QPushButton::clicked, this, [field] {
            field->setValue(0);
            field->setFocus();
        });
        connect(field, &TSM_HotKey::valueChanged, this, &TKeyAssignDialog::updateButtons);
    }
    m_bar = new QFrame(this);
    m_bar->setObjectName("ButtonBar");
    m_back = new QPushButton(QStringLiteral("< Back"), this);
    m_back->setObjectName("BackButton");
    m_next = new QPushButton(QStringLiteral("Next >"), this);
    m_next->setObjectName("NextButton");
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName("CancelButton");
    connect(m_back, &QPushButton::clicked, this, &TKeyAssignDialog::BackButtonClick);
    connect(m_next, &QPushButton::clicked, this, &TKeyAssignDialog::NextButtonClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    layOut();
    showStep(1);
}

TShortCut TKeyAssignDialog::firstKey() const
{
    return textToShortCut(m_fields[0]->text().toStdString());
}

TShortCut TKeyAssignDialog::secondKey() const
{
    return textToShortCut(m_fields[1]->text().toStdString());
}

void TKeyAssignDialog::NextButtonClick()
{
    if (m_step == 1)
        showStep(2);
    else
        accept();
}

void TKeyAssignDialog::BackButtonClick()
{
    if (m_step == 2)
        showStep(1);
}

// Entering a step brings its panel to the front and puts the focus into its key field.
void TKeyAssignDialog::showStep(int step)
{
    m_step = step;
    for (size_t i = 0; i < 2; ++i)
        m_panels[i]->setVisible(static_cast<int>(i) + 1 == step);
    m_fields[static_cast<size_t>(step - 1)]->setFocus();
    updateButtons();
}

void TKeyAssignDialog::updateButtons()
{
    const TKeyAssignButtons buttons = keyAssignButtons(m_step, firstKey(), secondKey());
    m_next->setEnabled(buttons.next);
    m_next->setText(buttons.finishCaption ? QStringLiteral("Finish") : QStringLiteral("Next >"));
    m_back->setEnabled(buttons.back);
    m_clears[0]->setEnabled(buttons.clearFirst);
    m_clears[1]->setEnabled(buttons.clearSecond);
}

void TKeyAssignDialog::showEvent(QShowEvent* event)
{
    layOut();
    QDialog::showEvent(event);
    m_fields[static_cast<size_t>(m_step - 1)]->setFocus();
}

// Positions follow the measured info texts (see layoutKeyAssign); the two step panels lie on
// top of each other and only the current one is shown.
void TKeyAssignDialog::layOut()
{
    TKeyAssignMeasures measures;
    for (size_t i = 0; i < 2; ++i)
        measures.infoTexts[i] = {kInfoLeft, kInfoTop, kInfoWidth, m_infos[i]->heightForWidth(kInfoWidth)};
    measures.fieldWidth = kFieldWidth;
    measures.fieldHeight = m_fields[0]->sizeHint().height();
    measures.clearWidth = m_clears[0]->sizeHint().width();
    measures.clearHeight = m_clears[0]->sizeHint().height();
    measures.barHeight = kBarHeight;
    const std::array<QPushButton*, 3> buttons{m_back, m_next, m_cancel};
    // Next keeps one width for both of its captions.
    QPushButton probe(QStringLiteral("Finish"));
    for (size_t i = 0; i < 3; ++i)
        measures.buttonWidths[i] = std::max(buttons[i]->sizeHint().width(), i == 1 ? probe.sizeHint().width() : 0);
    measures.buttonHeight = m_next->sizeHint().height();
    const TKeyAssignLayout layout = layoutKeyAssign(measures);
    const auto rect = [](const TBox& box) { return QRect(box.x, box.y, box.width, box.height); };
    const int stepHeight = layout.height - kBarHeight;
    for (size_t i = 0; i < 2; ++i) {
        m_panels[i]->setGeometry(0, 0, layout.width, stepHeight);
        m_infos[i]->setGeometry(rect(measures.infoTexts[i]));
        m_fields[i]->setGeometry(rect(layout.fields[i]));
        m_clears[i]->setGeometry(rect(layout.clearButtons[i]));
    }
    m_bar->setGeometry(0, stepHeight, layout.width, kBarHeight);
    for (size_t i = 0; i < 3; ++i)
        buttons[i]->setGeometry(rect(layout.buttons[i]));
    setFixedSize(layout.width, layout.height);
}
