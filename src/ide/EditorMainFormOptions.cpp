// The Options menu's editor items: the properties dialog, the editor and line-number fonts and
// the background colour. Each changes the settings of the language the editor shows, which
// the program keeps in the per-user store.
#include "ide/EditorMainForm.h"

#include "base/Exception.h"
#include "editor/dialogs/ChooserDialogs.h"
#include "editor/dialogs/EditProperties.h"
#include "editor/widget/SourceMemo.h"
#include "platform/QtText.h"

#include <QAction>
#include <QFontInfo>

namespace {

// The dialog starts at the face the editor really uses: a stored face the system lacks has
// been replaced by one of the same kind (a fixed-pitch one for the editor).
TFontChoice choiceOf(const QFont& font, int storedSize)
{
    TFontChoice choice;
    choice.name = QFontInfo(font).family().toStdString();
    choice.size = font.pointSize() > 0 ? font.pointSize() : storedSize;
    choice.style = static_cast<uint8_t>((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                                        (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0));
    return choice;
}

QFont fontOf(const TFontChoice& choice, const QFont& like)
{
    QFont font = like;
    font.setFamily(QString::fromStdString(choice.name));
    font.setPointSize(std::max(choice.size, 1));
    font.setBold(choice.style & fsBold);
    font.setItalic(choice.style & fsItalic);
    font.setUnderline(choice.style & fsUnderline);
    font.setStrikeOut(choice.style & fsStrikeOut);
    return font;
}

} // namespace

void TEditorMainForm::connectOptionsCommands()
{
    const std::pair<const char*, void (TEditorMainForm::*)()> items[] = {
        {"Properties1", &TEditorMainForm::Properties1Click},
        {"Font1", &TEditorMainForm::Font1Click},
        {"Linenumberfont1", &TEditorMainForm::Linenumberfont1Click},
        {"ChooseBackgroundColour1", &TEditorMainForm::BackgroundColour1Click},
    };
    for (const auto& [name, handler] : items) {
        QAction* item = action(name);
        item->setEnabled(true);
        connect(item, &QAction::triggered, this, handler);
    }
}

void TEditorMainForm::Properties1Click()
{
    try {
        ModifyProperties(*SourceMemo1);
    } catch (const Exception& error) {
        showError(utf8ToQString(error.Message()));
    }
    SourceMemo1->setFocus();
    SourceMemo1Change();
}

void TEditorMainForm::Font1Click()
{
    const QFont current = SourceMemo1->EditorFont();
    const TFontChoice stored = choiceOf(current, SourceMemo1->ActiveSettings().font.size);
    if (const std::optional<TFontChoice> chosen = chooserDialogs().chooseFont(stored))
        SourceMemo1->SetEditorFont(fontOf(*chosen, current));
    SourceMemo1Change();
}

void TEditorMainForm::Linenumberfont1Click()
{
    const QFont current = SourceMemo1->GutterFont();
    const TFontChoice stored = choiceOf(current, SourceMemo1->ActiveSettings().gutterFont.font.size);
    if (const std::optional<TFontChoice> chosen = chooserDialogs().chooseFont(stored))
        SourceMemo1->SetGutterFont(fontOf(*chosen, current));
    SourceMemo1Change();
}

void TEditorMainForm::BackgroundColour1Click()
{
    if (const std::optional<TColorValue> chosen = chooserDialogs().chooseColor(SourceMemo1->DefBackColor()))
        SourceMemo1->SetDefaultStyle(SourceMemo1->DefTextColor(), *chosen, SourceMemo1->DefFontStyle());
    SourceMemo1Change();
}
