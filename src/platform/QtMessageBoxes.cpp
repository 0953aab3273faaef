#include "platform/QtMessageBoxes.h"

#include "platform/QtText.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Error:
        return QMessageBox::Critical;
    case TMessageKind::Information:
        return QMessageBox::Information;
    case TMessageKind::Confirmation:
        return QMessageBox::Question;
    case TMessageKind::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsOf(TMessageButtons buttons)
{
    switch (buttons) {
    case TMessageButtons::Ok:
        return QMessageBox::Ok;
    case TMessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case TMessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case TMessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

} // namespace

QString messageText(const std::string& text)
{
    QString result = utf8ToQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

TMessageResult TQtMessageBoxes::show(TMessageKind kind, const std::string& caption, const std::string& text, TMessageButtons buttons)
{
    QMessageBox box(iconOf(kind), utf8ToQString(caption), messageText(text), buttonsOf(buttons), QApplication::activeWindow());
    // Texts quote file names and search strings, which must not be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(buttons == TMessageButtons::YesNo || buttons == TMessageButtons::YesNoCancel ? QMessageBox::Yes : QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return TMessageResult::Ok;
    case QMessageBox::Yes:
        return TMessageResult::Yes;
    case QMessageBox::No:
        return TMessageResult::No;
    case QMessageBox::Cancel:
        return TMessageResult::Cancel;
    default:
        return closingAnswer(buttons);
    }
}
