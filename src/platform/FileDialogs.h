// The open, save and choose-folder dialogs, asked through fileDialogs() so that tests can
// script them. Filters are written the Windows way, "Text|*.BAS;*.TXT|All|*.*": pairs of a
// description and patterns separated by ';'. Paths are local file names; titles are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class TFileDialogKind { Open, Save, ChooseFolder };

struct TFileDialogRequest {
    TFileDialogKind kind = TFileDialogKind::Open;
    std::string title;
    std::string filter;         // Windows form; empty shows every file
    std::string initialFolder;  // where the dialog starts (backslashes allowed)
    std::string fileName;       // proposed name; a name with wildcards only filters the list
    std::string defaultExtension; // added to a typed name without one ("EXE", no dot)
    bool confirmOverwrite = true; // Save: ask before replacing an existing file
};

class TFileDialogs
{
public:
    virtual ~TFileDialogs() = default;
    // The chosen file or folder, or none when the dialog was cancelled.
    virtual std::optional<std::string> run(const TFileDialogRequest& request) = 0;
};

// The implementation in use; until one is installed every dialog answers as cancelled.
TFileDialogs& fileDialogs();
// Installs dialogs (not owned; nullptr returns to the fallback) and returns the previous ones.
TFileDialogs* setFileDialogs(TFileDialogs* dialogs);

class TScopedFileDialogs
{
public:
    explicit TScopedFileDialogs(TFileDialogs& dialogs) : m_previous(setFileDialogs(&dialogs)) {}
    ~TScopedFileDialogs() { setFileDialogs(m_previous); }
    TScopedFileDialogs(const TScopedFileDialogs&) = delete;
    TScopedFileDialogs& operator=(const TScopedFileDialogs&) = delete;

private:
    TFileDialogs* m_previous;
};

struct TFileFilter {
    std::string description;
    std::vector<std::string> patterns; // never empty: a filter without patterns shows everything
};

// Splits a Windows filter into its pairs. Empty patterns (the trailing ';' in "*.bas;") are
// dropped; a description without patterns gets "*".
std::vector<TFileFilter> parseWindowsFilter(const std::string& filter);
// The same filters in Qt's form, "ZENBASIC files (*.bas *.BAS);;All files (*)". Local file
// systems tell letter case apart, so each pattern is offered in lower and upper case as well;
// "*.*" becomes "*" so that names without a dot are listed.
std::string qtFilterString(const std::vector<TFileFilter>& filters);
