#include "highlight/ParserSettings.h"

#include "base/Exception.h"
#include "highlight/ParserErrors.h"
#include "platform/VirtualKeys.h"

namespace {

const char* const kCommandNames[48] = {
    "Cursor left", "Cursor right", "Line start", "Line end", "Up one line", "Down one line",
    "Up one page", "Down one page", "Move to word before", "Move to word after", "Document start",
    "Document end", "Cut to clipboard", "Copy to clipboard", "Paste from clipboard",
    "Delete character at cursor", "Delete character before caret", "Indent selected block",
    "Un-indent selected block", "Toggle insert/overwrite mode", "Set Bookmark 0", "Set Bookmark 1",
    "Set Bookmark 2", "Set Bookmark 3", "Set Bookmark 4", "Set Bookmark 5", "Set Bookmark 6",
    "Set Bookmark 7", "Set Bookmark 8", "Set Bookmark 9", "Goto Bookmark 0", "Goto Bookmark 1",
    "Goto Bookmark 2", "Goto Bookmark 3", "Goto Bookmark 4", "Goto Bookmark 5", "Goto Bookmark 6",
    "Goto Bookmark 7", "Goto Bookmark 8", "Goto Bookmark 9", "Delete current line", "Undo", "Redo",
    "Delete previous word", "Print selection", "Delete next word", "Scroll display up one line",
    "Scroll display down one line"};

constexpr TShortCut ctrl(uint8_t key) { return vk::shortCut(key, vk::scCtrl); }

void require(bool condition, const char* what)
{
    if (!condition)
        throw ESourceMemo(Format("Settings broken: %s", what));
}

} // namespace

// Bindings in the order the key store writes the default map: every single key and prefix in
// the order bound, then the second keys of the last prefix (Ctrl+Q), then those of Ctrl+K.
KeyMapRecords defaultKeyMapRecords()
{
    KeyMapRecords map;
    for (int32_t i = 0; i < 48; ++i)
        map.names.push_back({i, kCommandNames[i]});
    auto bind = [&map](TShortCut first, TShortCut second, int32_t command) {
        map.bindings.push_back({first, second, command});
    };
    const uint8_t singles[] = {vk::Left, vk::Right, vk::Home, vk::End, vk::Up, vk::Down, vk::Prior, vk::Next};
    for (int32_t i = 0; i < 8; ++i)
        bind(singles[i], 0, i);
    bind(ctrl(vk::Left), 0, 8);
    bind(ctrl(vk::Right), 0, 9);
    bind(ctrl(vk::Home), 0, 10);
    bind(ctrl(vk::End), 0, 11);
    bind(ctrl('X'), 0, 12);
    bind(ctrl('C'), 0, 13);
    bind(ctrl('V'), 0, 14);
    bind(vk::Delete, 0, 15);
    bind(vk::Back, 0, 16);
    bind(vk::Insert, 0, 19);
    bind(ctrl('Y'), 0, 40);
    bind(ctrl('Z'), 0, 41);
    bind(vk::shortCut('Z', vk::scCtrl | vk::scShift), 0, 42);
    bind(ctrl(vk::Back), 0, 43);
    bind(ctrl(vk::Delete), 0, 45);
    bind(ctrl(vk::Up), 0, 46);
    bind(ctrl(vk::Down), 0, 47);
    for (int32_t i = 0; i < 10; ++i)
        bind(ctrl('Q'), static_cast<TShortCut>('0' + i), 30 + i);
    bind(ctrl('K'), 'I', 17);
    bind(ctrl('K'), 'U', 18);
    for (int32_t i = 0; i < 10; ++i)
        bind(ctrl('K'), static_cast<TShortCut>('0' + i), 20 + i);
    bind(ctrl('K'), 'P', 44);
    return map;
}

void TSM_Settings::reset()
{
    exampleText.clear();
    languageName.clear();
    wrapOverride = ">|:";
    options = kDefaultOptions;
    marginWidth = 2;
    rightMargin = 80;
    wordWrapColumn = 0;
    gutterWidth = 34;
    indentStep = 1;
    marginColor = clWhite;
    gutterColor = clBtnFace;
    selTextColor = clHighlightText;
    selTextBack = clHighlight;
    tabDefault = 4;
    styles.fill(StyleRecord{});
    tokenStyles.fill(0);
    editableStyles.clear();
    tabStops.fill(-1);
    font = FontSpec{"Courier New", 10, 1};
    marginColorDerived = selTextColorDerived = selTextBackDerived = gutterColorDerived = 0;
    keywordTables.clear();
    autoReplace = TemplateList{};
    triggers = kDefaultTriggers;
    templates = TemplateList{};
    keyMap = defaultKeyMapRecords();
    gutterFont = GutterFontSpec{};
}

void TSM_Settings::check() const
{
    require(editableStyles.size() <= kMaxEditableStyles, "too many editable styles");
    require(keywordTables.size() <= kMaxKeywordTables, "too many keyword tables");
    bool unused = false;
    int32_t previous = -1;
    for (int32_t column : tabStops) {
        if (column == -1) {
            unused = true;
            continue;
        }
        require(!unused && column > previous, "tab stops out of order");
        previous = column;
    }
    require(triggers.size() <= 255, "trigger text too long");
    for (const TemplateList* list : {&templates, &autoReplace})
        for (const CodeTemplate& entry : list->entries)
            require(entry.name.size() <= 255 && entry.description.size() <= 255, "template name too long");
    for (const EditableStyle& style : editableStyles)
        require(style.name.size() <= 255, "editable style name too long");
    for (const KeyCommandName& name : keyMap.names)
        require(name.name.size() <= 255, "command name too long");
}
