// The editor's clipboard on the system clipboard through Qt: plain text with CR LF line ends,
// "Rich Text Format" (also offered as text/rtf) and "HTML Format" (also as text/html). Text
// crosses between the document's Windows-1252 bytes and Unicode through the code-page table.
#pragma once

#include "editor/edit/Clipboard.h"

class QClipboard;

class TQtClipboard : public TClipboard
{
public:
    // Uses the application's clipboard when none is given.
    explicit TQtClipboard(QClipboard* clipboard = nullptr);

    bool HasFormat(TClipFormat format) const override;
    std::string Data(TClipFormat format) const override;
    void SetContents(const std::vector<std::pair<TClipFormat, std::string>>& contents) override;

private:
    QClipboard* m_clipboard;
};
