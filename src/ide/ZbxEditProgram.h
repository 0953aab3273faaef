// The composition root of zbxedit: the one place that installs the services the program runs
// with and starts it in its fixed order (the single-instance guard, the check for ZBX.INI, the
// application title, the windows, the message loop). main() only calls RunZbxEdit; fixture
// tests start the same program through TZbxEditProgram, replacing only the services they must.
//
// Services and where the real ones come from:
//   message boxes        TQtMessageBoxes, installed here for the program's lifetime
//   file dialogs         TQtFileDialogs, installed here for the program's lifetime
//   colour, font dialogs TQtChooserDialogs, installed here for the program's lifetime
//   printers, page set-up TQtPrinters, installed here for the program's lifetime
//   program folder       <app>, the folder of the program file
//   per-user folder      $XDG_CONFIG_HOME/zbxedit/: the parsers' settings (the registry key)
//                        and KALTOR.DAT when the program folder cannot be written
//   single-instance      a socket in $XDG_RUNTIME_DIR
//   clipboard            the system clipboard; the editor control holds its own Qt clipboard
//   process launcher     TProcessLauncher, owned by the build commands of the main window
// Arguments answered without a window (--help, --version) are answered by RunZbxEdit before
// anything starts. A later copy hands its file argument to the running copy, which opens it in
// a tab as File > Open would.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QApplication;
class TEditorMainForm;
class TChooserDialogs;
class TFileDialogs;
class TMessageBoxes;
class TPrinters;
class TParserRepository;

// What a test replaces; every field left empty means the real service.
struct TZbxEditServices
{
    TMessageBoxes* messageBoxes = nullptr;
    TFileDialogs* fileDialogs = nullptr;
    TChooserDialogs* chooserDialogs = nullptr;
    TPrinters* printers = nullptr;
    std::string applicationFolder; // <app>, with or without the trailing '/'
    std::string perUserFolder;     // ends with '/'
    QString instanceFolder;        // where the single-instance socket is created
};

class TZbxEditProgram
{
public:
    // arguments are the command line as bytes, the program's name first.
    explicit TZbxEditProgram(std::vector<std::string> arguments, TZbxEditServices replacements = {});
    ~TZbxEditProgram();
    TZbxEditProgram(const TZbxEditProgram&) = delete;
    TZbxEditProgram& operator=(const TZbxEditProgram&) = delete;

    // Runs start-up up to the shown main window. Answers the exit code when the program ends
    // before that: 0 for a second copy (the first was asked to come to the front), 1 when
    // ZBX.INI is missing (after the fatal box).
    std::optional<int> start();
    // The message loop, until the main window closes; answers the exit code.
    int exec();

    // The windows, once start() created them.
    TEditorMainForm& mainForm() { return *m_mainForm; }
    TParserRepository& parserRepository() { return *m_repository; }

private:
    struct TInstalled;

    std::vector<std::string> m_arguments;
    TZbxEditServices m_services;
    std::unique_ptr<TInstalled> m_installed;
    std::unique_ptr<TEditorMainForm> m_mainForm;
    std::unique_ptr<TParserRepository> m_repository;
};

// The whole program: answers --help and --version, else creates the application object,
// installs every real service and runs.
int RunZbxEdit(int argc, char** argv);

// Whether the program can start at all: shows the fatal box and answers false when
// <inc>ZBX.INI is missing.
bool checkZbxIniPresent();

extern const char* const applicationTitle;
