// The dialogs that locate the device tools. TEPICPath and TFind_MELOADER keep one program path
// that only browsing changes (text typed into the box is not taken); TProgPath and
// TBootloader_Parameters keep a user-defined tool's name, path and parameter template as typed.
// Each reads its ZBX.INI keys when it is activated, with the values it remembers as defaults,
// writes them on OK and nothing on Cancel. The dialogs stay on top, are centred on the screen,
// have no title-bar buttons and are enabled only while shown.
#pragma once

#include "build/ToolPathDialogs.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

// The texts and keys that tell the path dialogs apart.
struct TToolFormText
{
    const char* objectName;
    const char* caption;
    const char* browseHint;
    const char* browseTitle;
    const char* browseFilter;
    const char* browseFileName;
    const char* section;
};

class TToolFormBase : public QDialog
{
    Q_OBJECT
public:
    // Reads the keys (FormActivate), enables and shows the dialog modally, disables it again;
    // true when it was closed with OK.
    bool execute();
    virtual void FormActivate() = 0;
    virtual void BrowseClick() = 0;
    virtual void OKClick() = 0;
    void CancelClick() { reject(); }

    QPushButton* BrowseButton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    TToolFormBase(const TToolFormText& text, std::string iniFile, QWidget* parent);
    // The open dialog of Browse; nothing when it was cancelled.
    std::optional<std::string> browse() const;
    // Writes key=value pairs of our section; false (after the error box) when it failed.
    bool writeKeys(std::initializer_list<std::pair<const char*, std::string>> values);
    void createButtons(QWidget* buttonParent);

    const TToolFormText& m_text;
    std::string m_iniFile;
};

// EPIC and MELoader: one remembered program path under [section] PATHNAME.
class TToolPathForm : public TToolFormBase
{
    Q_OBJECT
public:
    void FormActivate() override;
    void BrowseClick() override;
    void OKClick() override;
    const std::string& rememberedPath() const { return m_path.path(); }

protected:
    TToolPathForm(const TToolFormText& text, const char* label, const char* editName,
                  const char* editHint, std::string iniFile, QWidget* parent);
    QLineEdit* m_edit;

private:
    TProgramPathDialog m_path;
};

class TEPICPath : public TToolPathForm
{
    Q_OBJECT
public:
    explicit TEPICPath(std::string iniFile, QWidget* parent = nullptr);
    QLineEdit* EPIC_Path;
};

class TFind_MELOADER : public TToolPathForm
{
    Q_OBJECT
public:
    explicit TFind_MELOADER(std::string iniFile, QWidget* parent = nullptr);
    QLineEdit* MELOAD_Path;
};

// The names and hints of a user-defined tool dialog's boxes.
struct TUserToolFormText
{
    const char* nameLabel;
    const char* pathLabel;
    const char* nameEdit;
    const char* nameHint;
    const char* pathEdit;
    const char* pathHint;
    const char* paramsEdit;
    const char* cancelHint;
};

// The user-defined programmer and downloader: NAME, EXT_PATH and CMD_LINE of [section].
class TUserToolForm : public TToolFormBase
{
    Q_OBJECT
public:
    void FormActivate() override;
    void BrowseClick() override;
    void OKClick() override;
    const TUserToolSettings& remembered() const { return m_remembered; }

protected:
    TUserToolForm(const TToolFormText& text, const TUserToolFormText& boxes, std::string iniFile,
                  QWidget* parent);
    QLineEdit* m_name;
    QLineEdit* m_path;
    QLineEdit* m_params;

private:
    TUserToolSettings m_remembered;
};

class TProgPath : public TUserToolForm
{
    Q_OBJECT
public:
    explicit TProgPath(std::string iniFile, QWidget* parent = nullptr);
    QLineEdit* ProgName;
    QLineEdit* PathName;
    QLineEdit* ComParams;
};

class TBootloader_Parameters : public TUserToolForm
{
    Q_OBJECT
public:
    explicit TBootloader_Parameters(std::string iniFile, QWidget* parent = nullptr);
    QLineEdit* BootName;
    QLineEdit* Boot_PathName;
    QLineEdit* Boot_ComParams;
};
