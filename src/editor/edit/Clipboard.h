// The clipboard as the editor sees it: plain text (CR LF line ends), "Rich Text Format" and
// "HTML Format", each as bytes of the document's code page. The platform implements it; tests
// use a fake.
#pragma once

#include <string>
#include <utility>
#include <vector>

enum class TClipFormat
{
    Text,
    Rtf,
    Html,
};

class TClipboard
{
public:
    virtual ~TClipboard() = default;
    virtual bool HasFormat(TClipFormat format) const = 0;
    // The data in that format; empty when absent. May throw std::bad_alloc.
    virtual std::string Data(TClipFormat format) const = 0;
    // Empties the clipboard, then offers each of the given formats.
    virtual void SetContents(const std::vector<std::pair<TClipFormat, std::string>>& contents) = 0;
};
