// Layout and behaviour of the four tool path dialogs.
#include "build/qt/ToolPathForms.h"

#include "base/Exception.h"
#include "build/qt/BuildErrorBox.h"
#include "platform/FileDialogs.h"
#include "platform/IniFile.h"
#include "platform/QtText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const TToolFormText kEpicText = {"EPICPath",
                                 "Find EPIC Directory Path",
                                 "Search for EPIC's Directory and EXE name",
                                 "Find EPIC Directory",
                                 "EPICWIN|EPICWIN.EXE;",
                                 "EPICWIN.EXE",
                                 "EPIC"};
const TToolFormText kMeloaderText = {"Find_MELOADER",
                                     "Find MELOADER Directory Path",
                                     "Search for EPIC's Directory and EXE name",
                                     "Find MELOADER Directory",
                                     "MELOADER|MELOADER.EXE;",
                                     "MELOADER.EXE",
                                     "MELOADER"};
const TToolFormText kProgrammerText = {"ProgPath",
                                       "Programmer Directory Path",
                                       "Search for the programmer's directory and EXE name",
                                       "Find Programmer Directory",
                                       "EXE Files|*.EXE;",
                                       "*.EXE",
                                       "EXT_PROG"};
const TToolFormText kBootloaderText = {"Bootloader_Parameters",
                                       "Bootloader Directory Path",
                                       "Search for the Bootloader's directory and EXE name",
                                       "Find Bootloader Directory",
                                       "EXE Files|*.EXE;",
                                       "*.EXE",
                                       "EXT_BOOTLOADER"};
const TUserToolFormText kProgrammerBoxes = {"Programmer's Name", "Programmer's Directory Path",
                                            "ProgName",          "Programmers Name",
                                            "PathName",          "External Programmer's Directory",
                                            "ComParams",         "Cancel the programmer choice"};
const TUserToolFormText kBootloaderBoxes = {"Bootloader's Name", "Bootloader's Directory Path",
                                            "BootName",          "Bootloaders Name",
                                            "Boot_PathName",     "External Bootloader's Directory",
                                            "Boot_ComParams",    "Cancel the bootloader choice"};

QLineEdit* makeEdit(QWidget* parent, const char* name, const char* hint)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

std::string text(const QLineEdit* edit)
{
    return qStringToUtf8(edit->text());
}

} // namespace

// ---- TToolFormBase

TToolFormBase::TToolFormBase(const TToolFormText& text, std::string iniFile, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint),
      m_text(text), m_iniFile(std::move(iniFile))
{
    setObjectName(text.objectName);
    setWindowTitle(text.caption);
    setModal(true);
    setEnabled(false);
}

void TToolFormBase::createButtons(QWidget* buttonParent)
{
    BrowseButton = new QPushButton("Browse...", buttonParent);
    BrowseButton->setObjectName("BrowseButton");
    BrowseButton->setToolTip(m_text.browseHint);
    BrowseButton->setAutoDefault(false);
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);
    connect(BrowseButton, &QPushButton::clicked, this, [this] { BrowseClick(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelClick(); });
}

bool TToolFormBase::execute()
{
    FormActivate();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setEnabled(true);
    const int result = exec();
    setEnabled(false);
    return result == QDialog::Accepted;
}

std::optional<std::string> TToolFormBase::browse() const
{
    TFileDialogRequest request;
    request.kind = TFileDialogKind::Open;
    request.title = m_text.browseTitle;
    request.filter = m_text.browseFilter;
    request.defaultExtension = "EXE";
    request.fileName = m_text.browseFileName;
    request.initialFolder = "C:\\";
    return fileDialogs().run(request);
}

bool TToolFormBase::writeKeys(std::initializer_list<std::pair<const char*, std::string>> values)
{
    try {
        TIniFile ini(m_iniFile);
        for (const auto& [key, value] : values)
            ini.WriteString(m_text.section, key, value);
        return true;
    } catch (const Exception& error) {
        showErrorBox(error.Message());
        return false;
    }
}

// ---- TToolPathForm

TToolPathForm::TToolPathForm(const TToolFormText& text, const char* label, const char* editName,
                             const char* editHint, std::string iniFile, QWidget* parent)
    : TToolFormBase(text, std::move(iniFile), parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label, this));
    auto* row = new QHBoxLayout;
    m_edit = makeEdit(this, editName, editHint);
    m_edit->setMinimumWidth(320);
    createButtons(this);
    row->addWidget(m_edit);
    row->addWidget(BrowseButton);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
}

void TToolPathForm::FormActivate()
{
    const TIniFile ini(m_iniFile);
    if (ini.ValueExists(m_text.section, "PATHNAME"))
        m_path.activate(ini.ReadString(m_text.section, "PATHNAME", m_path.path()));
    else
        m_path.activate(std::nullopt);
    m_edit->setText(utf8ToQString(m_path.path()));
}

void TToolPathForm::BrowseClick()
{
    m_path.browsed(browse());
    m_edit->setText(utf8ToQString(m_path.path()));
}

void TToolPathForm::OKClick()
{
    if (writeKeys({{"PATHNAME", m_path.path()}}))
        accept();
}

TEPICPath::TEPICPath(std::string iniFile, QWidget* parent)
    : TToolPathForm(kEpicText, "EPIC Directory Path", "EPIC_Path",
                    "Melab's EPIC Programmer Directory and EXE name", std::move(iniFile), parent),
      EPIC_Path(m_edit)
{
}

TFind_MELOADER::TFind_MELOADER(std::string iniFile, QWidget* parent)
    : TToolPathForm(kMeloaderText, "MELOADER Directory Path", "MELOAD_Path",
                    "Melab's MELOADER Directory and EXE name", std::move(iniFile), parent),
      MELOAD_Path(m_edit)
{
}

// ---- TUserToolForm

TUserToolForm::TUserToolForm(const TToolFormText& text, const TUserToolFormText& boxes,
                             std::string iniFile, QWidget* parent)
    : TToolFormBase(text, std::move(iniFile), parent)
{
    m_name = makeEdit(this, boxes.nameEdit, boxes.nameHint);
    m_path = makeEdit(this, boxes.pathEdit, boxes.pathHint);
    m_params = makeEdit(this, boxes.paramsEdit, "Any comand line parameters required");
    m_path->setMinimumWidth(320);
    createButtons(this);
    OKButton->setToolTip("Return to the editor");
    CancelButton->setToolTip(boxes.cancelHint);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(boxes.nameLabel, this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(new QLabel(boxes.pathLabel, this), 1, 0);
    grid->addWidget(m_path, 1, 1);
    grid->addWidget(BrowseButton, 1, 2);
    grid->addWidget(new QLabel("Optional Command Line Parameters", this), 2, 0);
    grid->addWidget(m_params, 2, 1);

    auto* group = new QGroupBox("Command line Parameter options", this);
    auto* groupLayout = new QVBoxLayout(group);
    for (const char* line : {"(%FULL) Insert full pathname.", "(%PIC) Insert PICmicro type.",
                             "(%FILENAME) Insert Hex filename only."})
        groupLayout->addWidget(new QLabel(line, group));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(group);
    layout->addLayout(buttons);
}

void TUserToolForm::FormActivate()
{
    const TIniFile ini(m_iniFile);
    const std::string section = m_text.section;
    m_name->setText(utf8ToQString(ini.ReadString(section, "NAME", m_remembered.name)));
    m_path->setText(utf8ToQString(ini.ReadString(section, "EXT_PATH", m_remembered.path)));
    m_params->setText(
        utf8ToQString(ini.ReadString(section, "CMD_LINE", m_remembered.commandTemplate)));
}

void TUserToolForm::BrowseClick()
{
    const std::optional<std::string> chosen = browse();
    if (!chosen)
        return;
    m_path->setText(utf8ToQString(*chosen));
    m_remembered.path = *chosen;
}

void TUserToolForm::OKClick()
{
    m_remembered = acceptUserTool(text(m_name), text(m_path), text(m_params));
    if (writeKeys({{"NAME", m_remembered.name},
                   {"EXT_PATH", m_remembered.path},
                   {"CMD_LINE", m_remembered.commandTemplate}}))
        accept();
}

TProgPath::TProgPath(std::string iniFile, QWidget* parent)
    : TUserToolForm(kProgrammerText, kProgrammerBoxes, std::move(iniFile), parent),
      ProgName(m_name), PathName(m_path), ComParams(m_params)
{
}

TBootloader_Parameters::TBootloader_Parameters(std::string iniFile, QWidget* parent)
    : TUserToolForm(kBootloaderText, kBootloaderBoxes, std::move(iniFile), parent),
      BootName(m_name), Boot_PathName(m_path), Boot_ComParams(m_params)
{
}
