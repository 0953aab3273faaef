#include "build/ReportView.h"

TReportViewState applyCompileResult(TReportViewState state,
                                    const std::optional<TCompileResult>& result)
{
    state.device.clear();
    state.compileFailed = false;
    for (std::string& panel : state.panels)
        panel.clear();
    if (!result) {
        if (state.paneVisible)
            state.paneLines.clear();
        return state;
    }
    if (result->verdict == CompileVerdict::Failed) {
        state.paneVisible = state.splitterVisible = state.reportChecked = true;
        state.compileFailed = true;
    } else if (result->verdict == CompileVerdict::Succeeded) {
        state.device = result->device;
        state.panels[0] = result->devicePanel();
        state.panels[1] = result->codePanel();
        state.panels[2] = result->ramPanel();
        if (state.reportChecked)
            state.paneVisible = state.splitterVisible = true;
        else
            state.splitterVisible = false;
    }
    if (state.paneVisible)
        state.paneLines = result->reportLines;
    return state;
}
