#include "editor/dialogs/EditProperties.h"

#include "editor/dialogs/OptionsDialog.h"
#include "editor/text/SourceMemoErrors.h"
#include "editor/widget/SourceMemo.h"
#include "highlight/runtime/SourceMemoParser.h"

#include <QApplication>

void installPropertiesDialog(TSourceMemoParser& parser)
{
    parser.PropertiesDialog = [](TSourceMemoParser& edited) {
        return TOptionsDialog::Open(edited, TOptionsDialog::kAllPages, QApplication::activeWindow());
    };
}

bool ModifyProperties(TSourceMemo& memo)
{
    TSourceMemoParser* parser = memo.ActiveParserObject();
    if (!parser)
        throw ESourceMemo("No active parser");
    if (parser->OnModifyProperties) {
        parser->OnModifyProperties(*parser);
        return false;
    }
    if (!TOptionsDialog::Open(*parser, memo.VisiblePropEdPages, memo.window()))
        return false;
    parser->ApplyToEditors();
    if (parser->UseRegistry && !parser->RegistryKey.empty() && parser->SaveToRegistry)
        parser->SaveToRegistry(*parser);
    return true;
}
