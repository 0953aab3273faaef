// TOptionsDialog, "Editor Options": the modal dialog that edits the settings of a highlighting
// language (options, margins, tabs, fonts, style colours and attributes, and on pages a host
// enables, the key map, the auto-correct list and the code templates). It edits a working copy
// (TSettingsWorkingCopy) and shows every change at once in a read-only preview editor that the
// language colours; OK keeps the copy, Cancel drops it.
// While a control is being filled from the copy, change handlers do nothing (m_updating).
#pragma once

#include "editor/dialogs/KeyAssignments.h"
#include "editor/dialogs/SettingsWorkingCopy.h"

#include <QDialog>

#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class TColorPickButton;
class TSM_HotKey;
class TSourceMemo;
class TSourceMemoParser;
struct TOptionBox;

class TOptionsDialog : public QDialog
{
    Q_OBJECT
public:
    // Page bits as the editor control's VisiblePropEdPages holds them (ppOPTIONS ...).
    static constexpr uint8_t kAllPages = 31;

    // Opens the dialog on parser's settings with the pages given and answers whether OK closed
    // it. An empty page set answers false at once. However it closes, the parser's editor list
    // is put back and, unless OK closed it, its settings are what they were.
    static bool Open(TSourceMemoParser& parser, uint8_t pages, QWidget* parent = nullptr);

    TOptionsDialog(TSettingsWorkingCopy& copy, uint8_t pages, QWidget* parent = nullptr);
    ~TOptionsDialog() override;

    // The controls under the names the rest of the program and the tests know them by.
    QTabWidget* Pages = nullptr;
    TSourceMemo* FEditor = nullptr;     // the preview
    TSourceMemo* SourceMemo1 = nullptr; // the template text

    // OK: rebuilds the key map; a conflicting key shows its message and keeps the dialog open.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSM_Settings& settings() { return m_copy.settings(); }
    // The copy changed: the dialog's editors take it again; the preview keeps its caret.
    void previewChanged();
    void showError(const std::string& message);

    // Options page (OptionsDialogOptions.cpp).
    QWidget* createOptionsPage();
    QLineEdit* addNumberField(class QGridLayout* grid, int row, const char* name, const char* caption);
    QWidget* widthField(QLineEdit*& field, const char* name);
    void fillOptionsPage();
    void OptionBoxClick(const TOptionBox& box, bool checked);
    void updateOptionBoxes();
    bool caretPastEndPermitted() const;
    void IndentStepBoxExit();
    void WrapColumnBoxExit();
    void TabColumnsBoxExit();
    void DeftabBoxExit();
    void widthFieldChanged(QLineEdit* field);
    void spinWidthField(QLineEdit* field, int step);
    bool filterFieldKey(QObject* watched, class QKeyEvent* event);

    // Highlighting page (OptionsDialogHighlighting.cpp).
    QWidget* createHighlightingPage();
    void fillHighlightingPage();
    int currentElement() const;
    void ElementListClick();
    void showElement();
    void AttributeClick();
    void DefaultsClick();
    void ForegroundChosen(TColorValue color);
    void BackgroundChosen(TColorValue color);
    void CharsetChange();
    void FontNameChange();
    void FontSizeChange();
    void fillFontNames();
    void PreviewClick(QPoint at);

    // Key assignments page (OptionsDialogKeys.cpp).
    QWidget* createKeysPage();
    void fillKeysPage();
    int currentCommand() const;
    void CommandListClick();
    void updateKeyButtons();
    void AddKeyClick();
    void EditKeyClick();
    void DeleteKeyClick();

    // Auto correct and Code templates pages (OptionsDialogExpansions.cpp).
    QWidget* createAutoCorrectPage();
    QWidget* createTemplatesPage();
    // Selects a row without showing it in the fields (the list follows what is typed).
    void selectQuietly(QListWidget* list, int row);
    void fillAutoCorrectPage();
    void fillTemplatesPage();
    void AutoCorrectListClick();
    void updateAutoCorrectButtons();
    void AutoCorrectAddClick();
    void AutoCorrectSecondClick();
    void ActKeysBoxExit();
    void TemplateListClick();
    void updateTemplateButtons();
    void storeTemplate();
    void HotKeyBoxExit();

    TSettingsWorkingCopy& m_copy;
    bool m_updating = false;

    // Options page.
    QWidget* m_optionsPage = nullptr;
    std::vector<std::pair<const TOptionBox*, QCheckBox*>> m_optionBoxes;
    QLineEdit* m_indentStep = nullptr;
    QLineEdit* m_wrapColumn = nullptr;
    QLineEdit* m_tabColumns = nullptr;
    QLineEdit* m_tabDefault = nullptr;
    QLineEdit* m_gutterWidth = nullptr;
    QLineEdit* m_rightMargin = nullptr;

    // Highlighting page.
    QWidget* m_highlightingPage = nullptr;
    QLineEdit* m_languageName = nullptr;
    QListWidget* m_elements = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    TColorPickButton* m_foreground = nullptr;
    TColorPickButton* m_background = nullptr;
    QCheckBox* m_defaultForeground = nullptr;
    QCheckBox* m_defaultBackground = nullptr;
    QComboBox* m_fontName = nullptr;
    QComboBox* m_fontSize = nullptr;
    QComboBox* m_charset = nullptr;
    QPoint m_lastPreviewClick{-100, -100};

    // Key assignments page.
    QWidget* m_keysPage = nullptr;
    std::unique_ptr<TKeyAssignments> m_keys;
    QListWidget* m_commands = nullptr;
    QListWidget* m_keyPairs = nullptr;
    QPushButton* m_addKey = nullptr;
    QPushButton* m_editKey = nullptr;
    QPushButton* m_deleteKey = nullptr;

    // Auto correct page.
    QWidget* m_autoCorrectPage = nullptr;
    QListWidget* m_autoCorrectList = nullptr;
    QLineEdit* m_replace = nullptr;
    QLineEdit* m_with = nullptr;
    QLineEdit* m_actKeys = nullptr;
    QPushButton* m_autoCorrectAdd = nullptr;
    QPushButton* m_autoCorrectSecond = nullptr;

    // Code templates page.
    QWidget* m_templatesPage = nullptr;
    QListWidget* m_templateList = nullptr;
    QLineEdit* m_templateName = nullptr;
    QLineEdit* m_templateDescription = nullptr;
    QPushButton* m_addTemplate = nullptr;
    QPushButton* m_replaceTemplate = nullptr;
    TSM_HotKey* m_hotKey = nullptr;
};
