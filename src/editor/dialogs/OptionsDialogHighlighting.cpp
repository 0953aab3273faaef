// The Highlighting page: the style elements with their attributes, colours and default flags,
// the font lists, and the preview, where a click selects the style under the caret.
#include "editor/dialogs/OptionsDialog.h"

#include "editor/dialogs/ColorPickButton.h"
#include "editor/dialogs/FontLists.h"
#include "editor/dialogs/StyleElements.h"
#include "editor/widget/SourceMemo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

constexpr int kClickSlack = 5; // pixels; a click this close to the previous one selects nothing

// The writing system whose fonts serve a Windows character set.
QFontDatabase::WritingSystem writingSystemOf(uint8_t charset)
{
    switch (charset) {
    case 0:   // ANSI
    case 77:  // MAC
    case 162: // TURKISH
    case 186: // BALTIC
    case 238: // EASTEUROPE
    case 255: // OEM
        return QFontDatabase::Latin;
    case 2: return QFontDatabase::Symbol;
    case 128: return QFontDatabase::Japanese;
    case 129:
    case 130: return QFontDatabase::Korean;
    case 134: return QFontDatabase::SimplifiedChinese;
    case 136: return QFontDatabase::TraditionalChinese;
    case 161: return QFontDatabase::Greek;
    case 177: return QFontDatabase::Hebrew;
    case 178: return QFontDatabase::Arabic;
    case 204: return QFontDatabase::Cyrillic;
    case 222: return QFontDatabase::Thai;
    default: return QFontDatabase::Any;
    }
}

// A colour caption with its button 4 pixels below it.
QWidget* colorColumn(const char* caption, TColorPickButton* button)
{
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(new QLabel(QString::fromUtf8(caption)));
    layout->addWidget(button);
    return column;
}

} // namespace

QWidget* TOptionsDialog::createHighlightingPage()
{
    auto* page = new QWidget;
    page->setObjectName("HighlightingPage");
    m_languageName = new QLineEdit(page);
    m_languageName->setObjectName("LanguageNameBox");
    m_languageName->setReadOnly(true);
    m_elements = new QListWidget(page);
    m_elements->setObjectName("ElementList");
    connect(m_elements, &QListWidget::currentRowChanged, this, &TOptionsDialog::ElementListClick);

    auto* attributes = new QGroupBox(QStringLiteral("Text attributes"), page);
    auto* attributeRow = new QVBoxLayout(attributes);
    const std::pair<QCheckBox**, const char*> boxes[] = {
        {&m_bold, "Bold"}, {&m_italic, "Italic"}, {&m_underline, "Underline"}};
    for (const auto& [box, caption] : boxes) {
        *box = new QCheckBox(QString::fromUtf8(caption), attributes);
        (*box)->setObjectName(QString::fromUtf8(caption) + "Box");
        attributeRow->addWidget(*box);
        connect(*box, &QCheckBox::toggled, this, &TOptionsDialog::AttributeClick);
    }
    auto* defaults = new QGroupBox(QStringLiteral("Use defaults for"), page);
    auto* defaultRow = new QVBoxLayout(defaults);
    m_defaultForeground = new QCheckBox(QStringLiteral("Foreground"), defaults);
    m_defaultForeground->setObjectName("DefaultForegroundBox");
    m_defaultBackground = new QCheckBox(QStringLiteral("Background"), defaults);
    m_defaultBackground->setObjectName("DefaultBackgroundBox");
    for (QCheckBox* box : {m_defaultForeground, m_defaultBackground}) {
        defaultRow->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TOptionsDialog::DefaultsClick);
    }
    m_foreground = new TColorPickButton(page);
    m_foreground->setObjectName("ForegroundButton");
    m_background = new TColorPickButton(page);
    m_background->setObjectName("BackgroundButton");
    connect(m_foreground, &TColorPickButton::colorChosen, this, &TOptionsDialog::ForegroundChosen);
    connect(m_background, &TColorPickButton::colorChosen, this, &TOptionsDialog::BackgroundChosen);

    m_fontName = new QComboBox(page);
    m_fontName->setObjectName("FontNameBox");
    m_fontSize = new QComboBox(page);
    m_fontSize->setObjectName("FontSizeBox");
    m_charset = new QComboBox(page);
    m_charset->setObjectName("CharsetBox");
    for (const int size : fontSizes())
        m_fontSize->addItem(QString::number(size), size);
    for (const TCharsetName& charset : charsetNames())
        m_charset->addItem(QString::fromUtf8(charset.name), charset.value);
    connect(m_fontName, &QComboBox::currentIndexChanged, this, &TOptionsDialog::FontNameChange);
    connect(m_fontSize, &QComboBox::currentIndexChanged, this, &TOptionsDialog::FontSizeChange);
    connect(m_charset, &QComboBox::currentIndexChanged, this, &TOptionsDialog::CharsetChange);

    auto* styleControls = new QGridLayout;
    styleControls->addWidget(attributes, 0, 0);
    styleControls->addWidget(defaults, 0, 1);
    styleControls->addWidget(colorColumn("Foreground", m_foreground), 1, 0);
    styleControls->addWidget(colorColumn("Background", m_background), 1, 1);
    auto* fonts = new QGridLayout;
    const std::pair<const char*, QComboBox*> fontRows[] = {
        {"Font", m_fontName}, {"Size", m_fontSize}, {"Charset", m_charset}};
    for (int row = 0; row < 3; ++row) {
        fonts->addWidget(new QLabel(QString::fromUtf8(fontRows[row].first)), row, 0);
        fonts->addWidget(fontRows[row].second, row, 1);
    }
    auto* controls = new QVBoxLayout;
    controls->addLayout(styleControls);
    controls->addLayout(fonts);
    controls->addStretch(1);

    auto* elementColumn = new QVBoxLayout;
    elementColumn->addWidget(new QLabel(QStringLiteral("Current language style")));
    elementColumn->addWidget(m_languageName);
    elementColumn->addWidget(new QLabel(QStringLiteral("Element")));
    elementColumn->addWidget(m_elements, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(elementColumn, 1);
    top->addLayout(controls);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    FEditor->setMinimumHeight(170);
    layout->addWidget(FEditor, 1);
    // The keyboard goes through the page as it reads: the list, what styles an element, the
    // fonts, the preview.
    QWidget* order[] = {m_elements, m_bold, m_italic, m_underline, m_defaultForeground, m_defaultBackground,
                        m_foreground, m_background, m_fontName, m_fontSize, m_charset, FEditor};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    return page;
}

void TOptionsDialog::fillHighlightingPage()
{
    const TSM_Settings& copy = settings();
    m_languageName->setText(QString::fromStdString(copy.languageName));
    m_elements->clear();
    for (const TStyleElement& element : styleElements(copy)) {
        auto* item = new QListWidgetItem(QString::fromStdString(element.name), m_elements);
        item->setData(Qt::UserRole, element.value);
    }
    m_charset->setCurrentIndex(m_charset->findData(copy.font.charset));
    if (m_charset->currentIndex() < 0)
        m_charset->setCurrentIndex(m_charset->findText(QString::fromUtf8(charsetName(copy.font.charset))));
    fillFontNames();
    if (m_fontSize->findData(copy.font.size) < 0)
        m_fontSize->addItem(QString::number(copy.font.size), copy.font.size);
    m_fontSize->setCurrentIndex(m_fontSize->findData(copy.font.size));
    m_elements->setCurrentRow(0);
    showElement();
}

int TOptionsDialog::currentElement() const
{
    const QListWidgetItem* item = m_elements->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void TOptionsDialog::ElementListClick()
{
    if (!m_updating)
        showElement();
}

// Shows the element's attributes, colours and default flags, and which of them it has.
void TOptionsDialog::showElement()
{
    const bool wasUpdating = m_updating;
    m_updating = true;
    const int element = currentElement();
    const TElementLook look = elementLook(settings(), element);
    const bool any = element >= 0;
    m_bold->setChecked(look.fontStyle & fsBold);
    m_italic->setChecked(look.fontStyle & fsItalic);
    m_underline->setChecked(look.fontStyle & fsUnderline);
    for (QCheckBox* box : {m_bold, m_italic, m_underline})
        box->setEnabled(any && look.hasAttributes);
    m_defaultForeground->setChecked(look.foregroundDefault);
    m_defaultBackground->setChecked(look.backgroundDefault);
    m_defaultForeground->setEnabled(any && look.hasForeground);
    m_defaultBackground->setEnabled(any);
    m_foreground->setColor(look.foreground);
    m_background->setColor(look.background);
    m_foreground->setEnabled(any && foregroundButtonEnabled(look));
    m_background->setEnabled(any && backgroundButtonEnabled(look));
    m_updating = wasUpdating;
}

void TOptionsDialog::AttributeClick()
{
    if (m_updating)
        return;
    const uint8_t style = static_cast<uint8_t>((m_bold->isChecked() ? fsBold : 0) |
                                               (m_italic->isChecked() ? fsItalic : 0) |
                                               (m_underline->isChecked() ? fsUnderline : 0));
    setElementFontStyle(settings(), currentElement(), style);
    previewChanged();
}

void TOptionsDialog::DefaultsClick()
{
    if (m_updating)
        return;
    setElementDefaults(settings(), currentElement(), m_defaultForeground->isChecked(),
                       m_defaultBackground->isChecked());
    showElement();
    previewChanged();
}

void TOptionsDialog::ForegroundChosen(TColorValue color)
{
    setElementForeground(settings(), currentElement(), color);
    showElement();
    previewChanged();
}

void TOptionsDialog::BackgroundChosen(TColorValue color)
{
    setElementBackground(settings(), currentElement(), color);
    showElement();
    previewChanged();
}

// The font names the system has for the chosen character set; the current font stays chosen
// when it is among them.
void TOptionsDialog::fillFontNames()
{
    const bool wasUpdating = m_updating;
    m_updating = true;
    const auto charset = static_cast<uint8_t>(m_charset->currentData().toInt());
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families(writingSystemOf(charset)))
        names.push_back(family.toStdString());
    m_fontName->clear();
    for (const std::string& name : fontNameList(std::move(names)))
        m_fontName->addItem(QString::fromStdString(name));
    const QString current = QString::fromStdString(settings().font.name);
    int index = m_fontName->findText(current, Qt::MatchFixedString);
    if (index < 0 && !current.isEmpty()) {
        // A font the system lacks still names the setting; the preview shows a substitute.
        m_fontName->insertItem(0, current);
        index = 0;
    }
    m_fontName->setCurrentIndex(index);
    m_updating = wasUpdating;
}

void TOptionsDialog::CharsetChange()
{
    if (m_updating)
        return;
    fillFontNames();
    settings().font.charset = static_cast<uint8_t>(m_charset->currentData().toInt());
    previewChanged();
}

void TOptionsDialog::FontNameChange()
{
    if (m_updating || m_fontName->currentIndex() < 0)
        return;
    settings().font.name = m_fontName->currentText().toStdString();
    previewChanged();
    updateOptionBoxes(); // the caret may stand past line ends only with a fixed-pitch font
}

void TOptionsDialog::FontSizeChange()
{
    if (m_updating || m_fontSize->currentIndex() < 0)
        return;
    settings().font.size = m_fontSize->currentData().toInt();
    previewChanged();
    updateOptionBoxes();
}

// A click moves the preview's caret (the control does that); the element list then shows the
// style of the character at the caret, unless the click was next to the one before.
void TOptionsDialog::PreviewClick(QPoint at)
{
    const QPoint previous = m_lastPreviewClick;
    m_lastPreviewClick = at;
    if (std::abs(at.x() - previous.x()) <= kClickSlack && std::abs(at.y() - previous.y()) <= kClickSlack)
        return;
    const int64_t caret = FEditor->Editor().SelCaret();
    const TRowSpot spot = FEditor->Store().RowAt(caret);
    if (!spot.Row || !spot.Row->HasAttrs() || spot.Row->TextLength() == 0)
        return;
    const int64_t inRow = std::min<int64_t>(caret - spot.Start, spot.Row->TextLength() - 1);
    const int element = elementOfToken(settings(), spot.Row->AttrAt(static_cast<int>(inRow)));
    for (int row = 0; row < m_elements->count(); ++row) {
        if (m_elements->item(row)->data(Qt::UserRole).toInt() == element) {
            m_elements->setCurrentRow(row);
            return;
        }
    }
}
