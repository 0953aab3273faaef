#include "editor/edit/CaretControl.h"

#include "editor/edit/SourceEditor.h"

#include <algorithm>

int64_t TSM_CaretControl::CaretCol() const
{
    return m_editor.CaretCol();
}

int64_t TSM_CaretControl::CaretLine() const
{
    return m_editor.CaretLine();
}

int64_t TSM_CaretControl::ViewTopLine() const
{
    return m_editor.Host().TopRow() + 1;
}

void TSM_CaretControl::SetViewTopLine(int64_t line)
{
    m_editor.Host().SetTopRow(std::max<int64_t>(line - 1, 0));
}
