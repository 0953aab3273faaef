// Copy, cut and paste. Copies carry CR LF line ends and RTF; paste prefers text, then HTML.
#include "editor/edit/SourceEditor.h"

#include "editor/text/SourceMemoErrors.h"

#include "base/Stream.h"

#include <algorithm>
#include <new>

namespace {

// HTML clipboard data reduced to its first tag and, with fragment markers, to the fragment.
std::string reduceHtml(const std::string& data, uint32_t flags)
{
    const size_t tag = data.find('<');
    std::string html = tag == std::string::npos ? std::string() : data.substr(tag);
    if ((flags & dsHtmlFromTag) != 0)
        return html;
    static constexpr std::string_view kStart = "<!--StartFragment-->";
    static constexpr std::string_view kEnd = "<!--EndFragment-->";
    const size_t start = html.find(kStart);
    if (start == std::string::npos)
        return html;
    const size_t from = start + kStart.size();
    const size_t end = html.find(kEnd, from);
    if (end == std::string::npos)
        return html;
    return html.substr(from, end - from);
}

} // namespace

void TSourceEditor::CopyToClipboard()
{
    if (!m_clipboard)
        return;
    std::vector<std::pair<TClipFormat, std::string>> contents;
    const TSelectionPair selection = Selection();
    if ((Settings.ClipCopyFormats & smTEXT) != 0) {
        std::string text;
        for (const char c : m_store->GetText(selection.Start(), selection.End())) {
            text += c;
            if (c == kLineBreak)
                text += '\n';
        }
        contents.emplace_back(TClipFormat::Text, std::move(text));
    }
    if ((Settings.ClipCopyFormats & smRTF) != 0) {
        TMemoryStream rtf;
        m_store->WriteRange(rtf, selection.Start(), selection.End(), sfRTF);
        contents.emplace_back(TClipFormat::Rtf, rtf.AsString());
    }
    m_clipboard->SetContents(contents);
}

bool TSourceEditor::CanPaste() const
{
    return !Settings.ReadOnly && m_clipboard &&
           (m_clipboard->HasFormat(TClipFormat::Text) || m_clipboard->HasFormat(TClipFormat::Html));
}

void TSourceEditor::CutToClipboard()
{
    if (Settings.ReadOnly)
        return;
    TGroupScope group(*this, ugCut);
    CopyToClipboard();
    ReplaceSelection({});
}

void TSourceEditor::PasteFromClipboard()
{
    if (Settings.ReadOnly || !m_clipboard)
        return;
    uint32_t flags = 0;
    if (m_clipboard->HasFormat(TClipFormat::Text))
        flags |= dsText;
    if (m_clipboard->HasFormat(TClipFormat::Html))
        flags |= dsHtml;
    if (flags == 0)
        return;
    flags |= dsPaste;
    if (OnDataDrop)
        OnDataDrop(flags);
    const bool text = (flags & dsText) != 0;
    if (!text && (flags & dsHtml) == 0)
        return;
    std::string data;
    try {
        data = m_clipboard->Data(text ? TClipFormat::Text : TClipFormat::Html);
    } catch (const std::bad_alloc&) {
        throw ESourceMemo(kCannotAllocBuffer);
    }
    if (text) {
        // A terminating NUL ends the text; a NUL inside it is shown as "." so that what
        // follows it is not lost.
        while (!data.empty() && data.back() == '\0')
            data.pop_back();
        std::replace(data.begin(), data.end(), '\0', '.');
    } else if ((flags & dsRawHtml) == 0 && (flags & (dsHtmlFromTag | dsHtmlFragment)) != 0) {
        data = reduceHtml(data, flags);
    }
    TGroupScope group(*this, ugPaste);
    TReadOnlyMemoryStream stream(data.data(), static_cast<int64_t>(data.size()));
    InsertStream(stream);
    m_host->ScrollCaretIntoView();
}
