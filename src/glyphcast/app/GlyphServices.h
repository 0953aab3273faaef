// What the converter's window asks of its surroundings: message boxes, the clipboard, the font
// chooser, the program folder and ending the program. The program passes the real ones; tests
// pass answering stand-ins.
#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <optional>
#include <string>

enum class TMessageKind
{
    Error,
    Information
};

// A message box with a single OK button.
class TGlyphMessageBox
{
public:
    virtual ~TGlyphMessageBox() = default;
    virtual void showMessage(TMessageKind kind, const QString& caption, const QString& text) = 0;
};

class TGlyphClipboard
{
public:
    virtual ~TGlyphClipboard() = default;
    // text is single-byte ANSI text.
    virtual void setText(const std::string& text) = 0;
};

struct TGlyphServices
{
    QString programFolder;
    TGlyphMessageBox* messageBox = nullptr;
    TGlyphClipboard* clipboard = nullptr;
    // Returns the chosen font, or nothing when the chooser was cancelled.
    std::function<std::optional<QFont>(const QFont& current)> chooseFont;
    std::function<void()> endProgram;
};

// The services of the running program: Qt message boxes, the system clipboard, QFontDialog,
// the executable's folder, and quitting the application.
TGlyphServices programServices();
