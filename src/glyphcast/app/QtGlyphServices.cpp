#include "glyphcast/app/GlyphServices.h"

#include "platform/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDialog>
#include <QMessageBox>

namespace {

class TQtMessageBox : public TGlyphMessageBox
{
public:
    void showMessage(TMessageKind kind, const QString& caption, const QString& text) override
    {
        QString shown = text;
        shown.replace("\r\n", "\n").replace('\r', '\n');
        if (kind == TMessageKind::Error)
            QMessageBox::critical(QApplication::activeWindow(), caption, shown);
        else
            QMessageBox::information(QApplication::activeWindow(), caption, shown);
    }
};

class TQtClipboard : public TGlyphClipboard
{
public:
    void setText(const std::string& text) override
    {
        QApplication::clipboard()->setText(cp1252ToQString(text));
    }
};

std::optional<QFont> chooseFontWithDialog(const QFont& current)
{
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, current, QApplication::activeWindow());
    if (!ok)
        return std::nullopt;
    return chosen;
}

} // namespace

TGlyphServices programServices()
{
    static TQtMessageBox messageBox;
    static TQtClipboard clipboard;
    TGlyphServices services;
    services.programFolder = QApplication::applicationDirPath();
    services.messageBox = &messageBox;
    services.clipboard = &clipboard;
    services.chooseFont = chooseFontWithDialog;
    services.endProgram = [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    };
    return services;
}
