// The platform's colour and font dialogs, asked through chooserDialogs() so that tests can
// answer them. Colours are COLORREF values (0x00BBGGRR, or 0x80000000 plus a system colour
// index); fonts are what settings store of a font.
#pragma once

#include "highlight/ParserSettings.h"

#include <optional>
#include <string>

struct TFontChoice
{
    std::string name;
    int size = 10;     // points
    uint8_t style = 0; // FontStyleBits
    uint8_t charset = 1;
    bool operator==(const TFontChoice&) const = default;
};

class TChooserDialogs
{
public:
    virtual ~TChooserDialogs() = default;
    // The colour chosen, none when the dialog was cancelled. The dialog keeps 16 custom
    // colours, white at first, for the program's lifetime.
    virtual std::optional<TColorValue> chooseColor(TColorValue initial) = 0;
    // The font chosen, none when the dialog was cancelled.
    virtual std::optional<TFontChoice> chooseFont(const TFontChoice& initial) = 0;
};

// The dialogs in use; until some are installed every dialog answers as cancelled.
TChooserDialogs& chooserDialogs();
// Installs dialogs (not owned; nullptr returns to the fallback) and returns the previous ones.
TChooserDialogs* setChooserDialogs(TChooserDialogs* dialogs);

class TScopedChooserDialogs
{
public:
    explicit TScopedChooserDialogs(TChooserDialogs& dialogs) : m_previous(setChooserDialogs(&dialogs)) {}
    ~TScopedChooserDialogs() { setChooserDialogs(m_previous); }
    TScopedChooserDialogs(const TScopedChooserDialogs&) = delete;
    TScopedChooserDialogs& operator=(const TScopedChooserDialogs&) = delete;

private:
    TChooserDialogs* m_previous;
};
