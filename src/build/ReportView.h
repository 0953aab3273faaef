// What reading a compile result does to the report pane, its splitter, the "REPORT Window" item
// and the status panels, kept apart from the widgets so the rules can be checked on their own.
// A failed compile opens the pane even when the user had closed it; a successful one leaves the
// pane as the user set it; the pane always shows the report of the result file read last.
#pragma once

#include "build/CompileResult.h"

#include <optional>
#include <string>
#include <vector>

struct TReportViewState
{
    bool reportChecked = false; // the View item "REPORT Window"
    bool paneVisible = false;
    bool splitterVisible = false;
    bool compileFailed = false;
    std::string device;    // empty before any successful result
    std::string panels[3]; // status panels 2, 3 and 4
    std::vector<std::string> paneLines;
};

// Applies a result (nothing when the result file does not exist) to the state.
TReportViewState applyCompileResult(TReportViewState state,
                                    const std::optional<TCompileResult>& result);
