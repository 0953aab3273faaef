// The control's settings: option word, tab stops, indent step, gutter, margins, wrap column and
// override, colours and fonts live in the active settings object, the active parser's when one
// is attached and the control's own otherwise. Setters write there as well as into the working
// copies the editing core and the painter read; attaching or activating a parser, or
// SM_APPLYSETTINGS, copies the active settings into the working copies.
#include "editor/widget/SourceMemo.h"
#include "editor/widget/SourceMemoProperties.h"

#include "highlight/ParserSettings.h"
#include "highlight/registry/KeyMapConversion.h"
#include "highlight/runtime/SourceMemoParser.h"
#include "editor/text/SourceMemoErrors.h"

#include <algorithm>

namespace {

// A colour the settings mark as derived follows the system colour the control would use.
int32_t effectiveColor(int32_t stored, uint8_t derived, int32_t systemColor)
{
    return derived ? systemColor : stored;
}

QFont fontOf(const FontSpec& stored, const QFont& fallback)
{
    if (stored.name.empty() || stored.size <= 0)
        return fallback;
    QFont font(QString::fromStdString(stored.name));
    font.setPointSize(stored.size);
    font.setStyleHint(fallback.styleHint());
    return font;
}

} // namespace

TSM_Settings& TSourceMemo::ActiveSettings()
{
    TSourceMemoParser* parser = ActiveParserObject();
    return parser ? parser->Settings() : *m_ownSettings;
}

const TSM_Settings& TSourceMemo::ActiveSettings() const
{
    const TSourceMemoParser* parser = ActiveParserObject();
    return parser ? parser->Settings() : *m_ownSettings;
}

void TSourceMemo::applyActiveSettings()
{
    const TSM_Settings& settings = ActiveSettings();
    TEditorSettings& editing = m_editor->Settings;
    const auto options = static_cast<uint32_t>(settings.options);
    if ((options ^ editing.Options) & smoWordWrap)
        m_leftCol = 0;
    editing.Options = options;
    editing.TabColumns.clear();
    for (const int32_t column : settings.tabStops)
        if (column >= 0)
            editing.TabColumns.push_back(column);
    editing.TabDefault = std::max(settings.tabDefault, 1);
    editing.IndentStep = std::clamp(settings.indentStep, kMinIndentStep, kMaxIndentStep);
    m_gutter = std::max(settings.gutterWidth, 0);
    m_margin = std::max(settings.marginWidth, 0);
    m_rightMargin = std::max(settings.rightMargin, 0);
    m_wrapAtColumn = std::clamp(settings.wordWrapColumn, 0, 0xFFFF);
    m_wrapOverride = settings.wrapOverride;
    m_gutterColor = colorFromColorRef(effectiveColor(settings.gutterColor, settings.gutterColorDerived, clBtnFace));
    m_marginColor = colorFromColorRef(effectiveColor(settings.marginColor, settings.marginColorDerived, clWindow));
    m_selText = colorFromColorRef(effectiveColor(settings.selTextColor, settings.selTextColorDerived, clHighlightText));
    m_selBack = colorFromColorRef(effectiveColor(settings.selTextBack, settings.selTextBackDerived, clHighlight));
    m_font = fontOf(settings.font, m_font);
    m_gutterFont = fontOf(settings.gutterFont.font, m_gutterFont);
    m_gutterTextColor = colorFromColorRef(settings.gutterFont.color);
    applyKeyMap(settings);
    applyTemplates(settings);
    rebuildMetrics(); // re-flows with word wrap, refreshes the scroll bars, repaints
}

// The keys of the active settings drive the control; a map that cannot be built (conflicting
// bindings) leaves the keys as they were.
void TSourceMemo::applyKeyMap(const TSM_Settings& settings)
{
    const TKeyMapRecords wanted = ToKeyStoreRecords(settings.keyMap);
    if (wanted == m_keyMap.ToRecords())
        return;
    try {
        m_keyMap.FromRecords(wanted);
    } catch (const ESourceMemo&) {
    }
}

void TSourceMemo::SetTabColumns(const std::vector<int>& columns)
{
    m_editor->Settings.TabColumns = columns;
    auto& stops = ActiveSettings().tabStops;
    stops.fill(-1);
    for (size_t i = 0; i < columns.size() && i < stops.size(); ++i)
        stops[i] = columns[i];
    TabStopsChanged();
}

void TSourceMemo::SetTabDefault(int width)
{
    m_editor->Settings.TabDefault = std::max(width, 1);
    ActiveSettings().tabDefault = m_editor->Settings.TabDefault;
    TabStopsChanged();
}

void TSourceMemo::SetIndentStep(int step)
{
    if (!IndentStepAccepted(step))
        return;
    m_editor->Settings.IndentStep = step;
    ActiveSettings().indentStep = step;
}

void TSourceMemo::SetColors(int32_t gutter, int32_t margin, int32_t selText, int32_t selBack)
{
    TSM_Settings& settings = ActiveSettings();
    settings.gutterColor = gutter;
    settings.marginColor = margin;
    settings.selTextColor = selText;
    settings.selTextBack = selBack;
    settings.gutterColorDerived = settings.marginColorDerived = 0;
    settings.selTextColorDerived = settings.selTextBackDerived = 0;
    m_gutterColor = colorFromColorRef(gutter);
    m_marginColor = colorFromColorRef(margin);
    m_selText = colorFromColorRef(selText);
    m_selBack = colorFromColorRef(selBack);
    invalidate();
}

void TSourceMemo::SetEditorFont(const QFont& font)
{
    m_font = font;
    FontSpec& stored = ActiveSettings().font;
    stored.name = font.family().toStdString();
    if (font.pointSize() > 0)
        stored.size = font.pointSize();
    else if (font.pixelSize() > 0)
        stored.size = std::max(1, (font.pixelSize() * 72 + 48) / 96); // points at 96 pixels an inch
    rebuildMetrics();
}

void TSourceMemo::SetGutterFont(const QFont& font)
{
    m_gutterFont = font;
    invalidate();
}

int32_t TSourceMemo::DefTextColor() const
{
    return ActiveSettings().styles[0].foreground;
}

int32_t TSourceMemo::DefBackColor() const
{
    return ActiveSettings().styles[0].background;
}

uint8_t TSourceMemo::DefFontStyle() const
{
    return ActiveSettings().styles[0].fontStyle;
}

void TSourceMemo::SetDefaultStyle(int32_t textColor, int32_t backColor, uint8_t fontStyle)
{
    StyleRecord& plain = ActiveSettings().styles[0];
    plain.foreground = textColor;
    plain.background = backColor;
    plain.fontStyle = fontStyle;
    plain.defined = 1;
    m_styles = tokenStylesOf(ActiveSettings());
    invalidate();
}
