#include "platform/QtFileDialogs.h"

#include "platform/Folders.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace {

// The folder to start in: the one asked for when it exists (Windows folders such as "C:\" do
// not), else the home folder.
QString startFolder(const std::string& folder)
{
    const QString local = QFile::decodeName(QByteArray::fromStdString(toLocalPath(folder)));
    return !local.isEmpty() && QDir(local).exists() ? local : QDir::homePath();
}

bool hasWildcards(const std::string& name)
{
    return name.find_first_of("*?") != std::string::npos;
}

} // namespace

std::optional<std::string> TQtFileDialogs::run(const TFileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), utf8ToQString(request.title), startFolder(request.initialFolder));
    if (request.kind == TFileDialogKind::ChooseFolder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(request.kind == TFileDialogKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setAcceptMode(request.kind == TFileDialogKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        const std::vector<TFileFilter> filters = parseWindowsFilter(request.filter);
        if (!filters.empty())
            dialog.setNameFilter(utf8ToQString(qtFilterString(filters)));
        dialog.setDefaultSuffix(utf8ToQString(request.defaultExtension));
        if (!request.fileName.empty() && !hasWildcards(request.fileName))
            dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(toLocalPath(request.fileName))));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().front()).toStdString();
}
