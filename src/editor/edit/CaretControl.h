// The caret position as the host's status bar shows it, 1-based: the display column (past the
// line end the remembered column), the row, and the row at the top of the view.
#pragma once

#include <cstdint>

class TSourceEditor;

class TSM_CaretControl
{
public:
    explicit TSM_CaretControl(const TSourceEditor& editor) : m_editor(editor) {}

    int64_t CaretCol() const;
    int64_t CaretLine() const;
    int64_t ViewTopLine() const;
    // Rows below 1 show the first row.
    void SetViewTopLine(int64_t line);

private:
    const TSourceEditor& m_editor;
};
