// The published properties of the editor control whose rules do not depend on the widget:
// the tab-column text, the default tab width, the indent step, the version text, the option
// set and its word, and setters that apply them to a control through its public API.
// A value outside a property's accepted range is ignored and the previous value stays, except
// where an error is raised (tab columns, default tab width).
#pragma once

#include "editor/edit/TabColumnsText.h"

#include "editor/edit/EditorOptions.h"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class TSourceMemo;

inline constexpr const char* kSourceMemoVersion = "3.00.39";
constexpr int kMinIndentStep = 1;
constexpr int kMaxIndentStep = 19;
constexpr bool IndentStepAccepted(int step)
{
    return step >= kMinIndentStep && step <= kMaxIndentStep;
}

// The option set and the stored option word; bits that name no option are dropped.
using TSourceMemoOptions = std::set<TSourceMemoOption>;
// Every option, in bit order.
const std::vector<TSourceMemoOption>& AllSourceMemoOptions();
uint32_t OptionsToWord(const TSourceMemoOptions& options);
TSourceMemoOptions WordToOptions(uint32_t word);

// ---- the properties on a control ---------------------------------------------------------

std::string TabColumns(const TSourceMemo& memo);
// Throws like ParseTabColumns; the previous stops stay on failure.
void SetTabColumns(TSourceMemo& memo, std::string_view text);
int TabDefault(const TSourceMemo& memo);
void SetTabDefault(TSourceMemo& memo, int width);
int IndentStep(const TSourceMemo& memo);
// Accepts 1 to 19; other values are ignored.
void SetIndentStep(TSourceMemo& memo, int step);
// The component version; it cannot be assigned.
std::string Version(const TSourceMemo& memo);

TSourceMemoOptions Options(TSourceMemo& memo);
// Converts the set to the word and sends SM_OPTIONS.
void SetOptions(TSourceMemo& memo, const TSourceMemoOptions& options);
bool WordWrap(TSourceMemo& memo);
void SetWordWrap(TSourceMemo& memo, bool wrap);

// Modified reads the undo log's saved point; setting False clears the log, True does nothing.
bool Modified(TSourceMemo& memo);
void SetModified(TSourceMemo& memo, bool modified);

// Whether the TAB keys belong to the control (WM_GETDLGCODE); True initially.
bool WantReturns(const TSourceMemo& memo);
void SetWantReturns(TSourceMemo& memo, bool want);
