// The two ways the properties dialog is opened: a parser's EditProperties (every page) and the
// editor control's modify-properties operation (the pages the control shows).
#pragma once

class TSourceMemo;
class TSourceMemoParser;

// Makes the properties dialog, with all five pages, the dialog parser.EditProperties() opens.
void installPropertiesDialog(TSourceMemoParser& parser);

// Opens the dialog on the control's active parser with the control's VisiblePropEdPages;
// ESourceMemo "No active parser" when it has none. A parser's OnModifyProperties replaces the
// dialog (the answer is then false). On OK every editor of the parser takes the settings
// (re-flowing when word wrap changed) and, with UseRegistry and a RegistryKey, they are saved;
// a failed save raises its error after the editors took the settings. Answers whether OK
// closed the dialog.
bool ModifyProperties(TSourceMemo& memo);
