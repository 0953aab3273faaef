// The look of the control's document for the RTF and HTML writers: the active settings' styles
// and token map, the control's font and title. Clipboard copies, SM_SAVESTREAM, SM_GETSELTEXT
// and RTF or HTML saves all write through it, so they show what the screen shows; rows never
// shown are highlighted before they are written.
#pragma once

#include "editor/text/StyleSource.h"

class TSourceMemo;

class TSourceMemoStyles : public TStyleSource
{
public:
    explicit TSourceMemoStyles(TSourceMemo& memo) : m_memo(memo) {}

    TTextStyle DefaultStyle() const override;
    // The styles after the default one: style numbers 1 to 255 of the settings.
    int StyleCount() const override { return 255; }
    TTextStyle Style(int index) const override;
    // With highlighting off every token shows in the default style, as on screen.
    int StyleOfToken(uint8_t token) const override;
    std::string FontName() const override;
    int FontSize() const override;
    int FontCharset() const override;
    std::string Title() const override;
    std::string DateTimeText() const override { return TPlainStyleSource().DateTimeText(); }
    void PrepareRange(int64_t start, int64_t end) override;

private:
    TTextStyle styleNumbered(int style) const;

    TSourceMemo& m_memo;
};
