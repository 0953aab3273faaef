#include "ide/ZbxEditProgram.h"

#include "ide/EditorMainForm.h"
#include "ide/ParserRepository.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/SingleInstanceGuard.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

const char* const applicationTitle = "KALTOR+ Editor";

namespace {

// A diagnostic for machines without a screen: ZBX_SCREENSHOT names a PNG that receives a
// picture of the main window once it is up; with ZBX_SCREENSHOT_QUIT the program then ends.
void scheduleScreenshot(TEditorMainForm& window)
{
    const QString target = qEnvironmentVariable("ZBX_SCREENSHOT");
    if (target.isEmpty())
        return;
    QTimer::singleShot(1500, &window, [&window, target] {
        window.grab().save(target);
        if (qEnvironmentVariableIsSet("ZBX_SCREENSHOT_QUIT"))
            window.close();
    });
}

} // namespace

bool checkZbxIniPresent()
{
    const std::string ini = resolveIgnoringCase(includeFolder(), "ZBX.INI");
    if (QFileInfo::exists(QString::fromStdString(ini)))
        return true;
    messageBoxes().show(TMessageKind::Error, "FATAL ERROR!",
                        "Could not Find ZBX.INI\rMake sure it is in the INC folder and is not Write "
                        "Protected\rThe Compiler will now Close",
                        TMessageButtons::OkCancel);
    return false;
}

int RunZbxEdit(QApplication& application, const QStringList& arguments)
{
    TSingleInstanceGuard guard("KALTORPLUSINSTANCE");
    if (guard.start() == TSingleInstanceGuard::TStart::AnotherCopyRuns)
        return 0;
    if (!checkZbxIniPresent())
        return 1;
    application.setApplicationName(applicationTitle);

    TEditorMainForm mainForm(arguments);
    TParserRepository repository;
    guard.setActivationHandler([&mainForm](const QString&) { bringToFront(&mainForm); });
    // Without a window manager "maximised" means nothing, so the window is also given the
    // screen's working area.
    if (const QScreen* screen = mainForm.screen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    scheduleScreenshot(mainForm);
    return application.exec();
}
