// What the RTF and HTML writers need to know about how the document looks: the styles that
// token bytes map to, the font, the title and the time stamp. The editor control provides it
// from its active settings; TPlainStyleSource is the look of a document without a language.
#pragma once

#include <cstdint>
#include <string>

// Colours are COLORREF values: red in the low byte, blue in the third.
struct TTextStyle
{
    uint32_t Foreground = 0x000000;
    uint32_t Background = 0xFFFFFF;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

class TStyleSource
{
public:
    virtual ~TStyleSource() = default;
    virtual TTextStyle DefaultStyle() const = 0;
    // The styles in style order; the RTF colour table lists their colours in this order.
    virtual int StyleCount() const = 0;
    virtual TTextStyle Style(int index) const = 0;
    // The style a token byte is shown in; -1 for the default style.
    virtual int StyleOfToken(uint8_t token) const = 0;
    virtual std::string FontName() const = 0;
    virtual int FontSize() const = 0; // points
    virtual int FontCharset() const = 0;
    // The document's title (HTML title).
    virtual std::string Title() const = 0;
    // The date and time written into HTML; a provider of its own keeps tests repeatable.
    virtual std::string DateTimeText() const = 0;
    // Called before the characters [start, end) are written with styles, so that rows whose
    // token bytes are missing or out of date (never shown, edited since) get them first.
    virtual void PrepareRange(int64_t /*start*/, int64_t /*end*/) {}
};

// Black on white "Courier New" 10 points, every token in the default style, the local time.
class TPlainStyleSource : public TStyleSource
{
public:
    TTextStyle DefaultStyle() const override { return {}; }
    int StyleCount() const override { return 0; }
    TTextStyle Style(int) const override { return {}; }
    int StyleOfToken(uint8_t) const override { return -1; }
    std::string FontName() const override { return "Courier New"; }
    int FontSize() const override { return 10; }
    int FontCharset() const override { return 0; }
    std::string Title() const override { return m_title; }
    std::string DateTimeText() const override;
    void SetTitle(const std::string& title) { m_title = title; }

private:
    std::string m_title;
};
