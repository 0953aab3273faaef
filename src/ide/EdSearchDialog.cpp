#include "ide/EdSearchDialog.h"

#include "base/Exception.h"
#include "editor/search/SearchFlags.h"
#include "editor/widget/SourceMemo.h"
#include "ide/EdPersistent.h"
#include "ide/ZbxEditProgram.h"
#include "platform/CodePage1252.h"
#include "platform/MessageBoxes.h"
#include "platform/QtText.h"
#include "platform/SettingsProblems.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <new>

TEdSearchDialog::TEdSearchDialog(TEdPersistent& settings, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_settings(settings)
{
    setWindowTitle(caption);
    setModal(false);
    auto* outer = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    outer->addLayout(left, 1);

    m_textRows = new QGridLayout;
    FindHistoryBox = new QComboBox(this);
    FindHistoryBox->setObjectName("FindHistoryBox");
    FindHistoryBox->setEditable(true);
    FindHistoryBox->setInsertPolicy(QComboBox::NoInsert); // the history decides what is kept
    FindHistoryBox->setMinimumWidth(260);
    auto* findLabel = new QLabel("&Text to find", this);
    findLabel->setBuddy(FindHistoryBox);
    m_textRows->addWidget(findLabel, 0, 0);
    m_textRows->addWidget(FindHistoryBox, 0, 1);
    left->addLayout(m_textRows);

    auto* boxes = new QHBoxLayout;
    auto* options = new QGroupBox("Options", this);
    auto* optionsLayout = new QVBoxLayout(options);
    UseCaseBox = new QCheckBox("&Case sensitive", options);
    UseCaseBox->setObjectName("UseCaseBox");
    WholeWordBox = new QCheckBox("&Whole words", options);
    WholeWordBox->setObjectName("WholeWordBox");
    RegExBox = new QCheckBox("&Regular expressions", options);
    RegExBox->setObjectName("RegExBox");
    for (QCheckBox* box : {UseCaseBox, WholeWordBox, RegExBox})
        optionsLayout->addWidget(box);
    auto* direction = new QGroupBox("Direction", this);
    auto* directionLayout = new QVBoxLayout(direction);
    FwdDirection = new QRadioButton("Forwar&d", direction);
    FwdDirection->setObjectName("FwdDirection");
    BackDirection = new QRadioButton("&Back", direction);
    BackDirection->setObjectName("BackDirection");
    FwdDirection->setChecked(true);
    directionLayout->addWidget(FwdDirection);
    directionLayout->addWidget(BackDirection);
    directionLayout->addStretch(1);
    boxes->addWidget(options);
    boxes->addWidget(direction);
    left->addLayout(boxes);

    m_buttons = new QGridLayout;
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    m_buttons->addWidget(OKButton, 0, 0);
    m_buttons->addWidget(CancelButton, 1, 0);
    m_buttons->setRowStretch(10, 1);
    outer->addLayout(m_buttons);

    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(FindHistoryBox, &QComboBox::editTextChanged, this, [this] { UpdateButtons(); });
}

void TEdSearchDialog::Execute(TSourceMemo& editor, const std::string& startText, int options)
{
    m_memo = &editor;
    LoadHistories();
    const int at = m_findHistory.Offer(startText);
    FillBox(*FindHistoryBox, m_findHistory, at >= 0 ? cp1252ToQString(startText) : QString());
    UseCaseBox->setChecked(options & srMatchCase);
    WholeWordBox->setChecked(options & srWholeWord);
    RegExBox->setChecked(options & srRegExp);
    (options & srBackward ? BackDirection : FwdDirection)->setChecked(true);
    UpdateButtons();
    editor.SetHideSelection(false);
    centreOnScreen();
    show();
    raise();
    activateWindow();
    FindHistoryBox->setFocus();
    FindHistoryBox->lineEdit()->selectAll();
}

uint16_t TEdSearchDialog::Options() const
{
    uint16_t options = 0;
    if (UseCaseBox->isChecked())
        options |= srMatchCase;
    if (RegExBox->isChecked())
        options |= srRegExp;
    if (WholeWordBox->isChecked())
        options |= srWholeWord;
    if (BackDirection->isChecked())
        options |= srBackward;
    return options;
}

std::string TEdSearchDialog::FindText() const
{
    return qStringToCp1252(FindHistoryBox->currentText());
}

void TEdSearchDialog::LoadHistories()
{
    m_findHistory.Load(m_settings, "FindHistory");
}

void TEdSearchDialog::SaveHistories()
{
    trySettingsAccess(m_settings.FileName(), [&] { m_findHistory.Save(m_settings, "FindHistory"); });
}

void TEdSearchDialog::UpdateButtons()
{
    OKButton->setEnabled(!FindHistoryBox->currentText().isEmpty());
}

void TEdSearchDialog::UseFindText(const std::string& text)
{
    m_findHistory.Use(text);
    FillBox(*FindHistoryBox, m_findHistory, cp1252ToQString(text));
}

// The box lists the history and keeps showing text (the list changes under the edit text).
void TEdSearchDialog::FillBox(QComboBox& box, const TSearchHistory& history, const QString& text)
{
    const QSignalBlocker blocker(box);
    box.clear();
    for (const std::string& entry : history.Entries())
        box.addItem(cp1252ToQString(entry));
    const int index = history.IndexOf(qStringToCp1252(text));
    if (index >= 0 && box.itemText(index) == text)
        box.setCurrentIndex(index);
    else
        box.setCurrentIndex(-1);
    box.setEditText(text);
}

void TEdSearchDialog::ReportNotFound(const std::string& text) const
{
    messageBoxes().show(TMessageKind::Information, applicationTitle, cp1252ToUtf8("\"" + text + "\" not found"),
                        TMessageButtons::Ok);
}

void TEdSearchDialog::Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (const Exception& error) {
        messageBoxes().show(TMessageKind::Error, applicationTitle, cp1252ToUtf8(error.what()), TMessageButtons::Ok);
    } catch (const std::bad_alloc&) {
        messageBoxes().show(TMessageKind::Error, applicationTitle, "Out of memory", TMessageButtons::Ok);
    }
}

void TEdSearchDialog::Searched()
{
    if (m_memo)
        m_memo->viewport()->update();
    if (OnSearched)
        OnSearched();
}

// Cancel, Esc and the close box all end here: the editor hides its selection again when it
// loses the focus, and the histories are written.
void TEdSearchDialog::done(int result)
{
    QDialog::done(result);
    if (m_memo)
        m_memo->SetHideSelection(true);
    SaveHistories();
}

void TEdSearchDialog::centreOnScreen()
{
    adjustSize();
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}
