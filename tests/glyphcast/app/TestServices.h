// Answering stand-ins for the window's services: recorded message boxes and clipboard text,
// a queued font choice and a recorded end of the program.
#pragma once

#include "glyphcast/app/GlyphServices.h"

#include <QList>
#include <QTemporaryDir>

struct TShownMessage
{
    TMessageKind kind;
    QString caption;
    QString text;
};

class TRecordingMessageBox : public TGlyphMessageBox
{
public:
    void showMessage(TMessageKind kind, const QString& caption, const QString& text) override
    {
        shown.push_back({kind, caption, text});
    }
    QList<TShownMessage> shown;
};

class TRecordingClipboard : public TGlyphClipboard
{
public:
    void setText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

struct TTestServices
{
    TRecordingMessageBox messageBox;
    TRecordingClipboard clipboard;
    std::optional<QFont> nextFont;
    int endCount = 0;
    QTemporaryDir folder;

    TGlyphServices services(const QString& programFolder = {});
};

// The application object the window tests need, created once.
void ensureApplication();
