#include "ide/ZbxEditProgram.h"

#include "ide/EditorMainForm.h"
#include "ide/InformationArguments.h"
#include "ide/icon/AppIcon.h"
#include "ide/ParserRepository.h"
#include "editor/dialogs/QtChooserDialogs.h"
#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrinters.h"
#include "platform/QtText.h"
#include "platform/RegistryKey.h"
#include "platform/SingleInstanceGuard.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <iostream>

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

QStringList argumentList(const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list.append(localToQString(argument));
    return list;
}

} // namespace

// The services in force while the program lives; the previous ones come back at its end.
struct TZbxEditProgram::TInstalled
{
    explicit TInstalled(const TZbxEditServices& services)
        : boxes(services.messageBoxes ? *services.messageBoxes : qtBoxes),
          dialogs(services.fileDialogs ? *services.fileDialogs : qtDialogs),
          choosers(services.chooserDialogs ? *services.chooserDialogs : qtChoosers),
          printerScope(services.printers ? *services.printers : qtPrinters),
          guard(QStringLiteral("KALTORPLUSINSTANCE"), services.instanceFolder)
    {
        setApplicationFolder(services.applicationFolder);
    }
    ~TInstalled() { setApplicationFolder({}); }

    TQtMessageBoxes qtBoxes;
    TQtFileDialogs qtDialogs;
    TQtChooserDialogs qtChoosers;
    TQtPrinters qtPrinters;
    TScopedMessageBoxes boxes;
    TScopedFileDialogs dialogs;
    TScopedChooserDialogs choosers;
    TScopedPrinters printerScope;
    TSingleInstanceGuard guard;
};

TZbxEditProgram::TZbxEditProgram(std::vector<std::string> arguments, TZbxEditServices replacements)
    : m_arguments(std::move(arguments)), m_services(std::move(replacements)),
      m_installed(std::make_unique<TInstalled>(m_services))
{
    if (m_services.perUserFolder.empty())
        m_services.perUserFolder = defaultRegistryFolder();
}

// The windows go before the services they use.
TZbxEditProgram::~TZbxEditProgram()
{
    m_mainForm.reset();
    m_repository.reset();
    m_installed.reset();
}

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

std::optional<int> TZbxEditProgram::start()
{
    // The file named first on the command line goes to the running copy, if there is one.
    const QString fileArgument = m_arguments.size() > 1 ? localToQString(m_arguments[1]) : QString();
    if (m_installed->guard.start(fileArgument) == TSingleInstanceGuard::TStart::AnotherCopyRuns)
        return 0;
    if (!checkZbxIniPresent())
        return 1;
    QApplication::setApplicationName(applicationTitle);

    m_mainForm = std::make_unique<TEditorMainForm>(argumentList(m_arguments), m_services.perUserFolder);
    m_repository = std::make_unique<TParserRepository>(m_services.perUserFolder);
    TEditorMainForm* window = m_mainForm.get();
    m_installed->guard.setActivationHandler([window](const QString& file) {
        if (!file.isEmpty())
            window->OpenHandedOverFile(file);
        bringToFront(window);
    });
    // Without a window manager "maximised" means nothing, so the window is also given the
    // screen's working area.
    if (const QScreen* screen = window->screen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    scheduleScreenshot(*window);
    return std::nullopt;
}

int TZbxEditProgram::exec()
{
    return QApplication::exec();
}

int RunZbxEdit(int argc, char** argv)
{
    if (const std::optional<int> answered = answerInformationArguments(argc, argv, std::cout))
        return *answered;
    QApplication application(argc, argv);
    // The desktop finds the program's entry and icon by this name (cmake/install.cmake).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.zbxedit.ZbxEdit"));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(renderAppIcon(256))));
    // The arguments as the bytes they are: a file name need not be valid in any encoding.
    TZbxEditProgram program(std::vector<std::string>(argv, argv + argc));
    if (const std::optional<int> ended = program.start())
        return *ended;
    return program.exec();
}
