// The tool path dialogs: what they read on activation, what Browse, OK and Cancel change, and
// the ZBX.INI keys they write.
#include "build/qt/ToolPathForms.h"

#include "StandIns.h"
#include "platform/IniFile.h"
#include "platform/ScriptedFileDialogs.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class ToolPathFormsTest : public ::testing::Test
{
protected:
    std::string ini() const { return m_dir.path("ZBX.INI"); }
    std::string key(const char* section, const char* name) const
    {
        return TIniFile(ini()).ReadString(section, name, "<absent>");
    }

    TempFolder m_dir;
    TScriptedFileDialogs m_dialogs;
    TScopedFileDialogs m_scope{m_dialogs};
};

// EPIC and MELoader share their behaviour; each case runs on both.
struct PathFormCase
{
    const char* section;
    const char* caption;
    const char* browseTitle;
    const char* browseFilter;
    const char* browseFileName;
    const char* editHint;
};

class PathForms : public ToolPathFormsTest, public ::testing::WithParamInterface<PathFormCase>
{
protected:
    std::unique_ptr<TToolPathForm> makeForm()
    {
        if (std::string(GetParam().section) == "EPIC")
            return std::make_unique<TEPICPath>(ini());
        return std::make_unique<TFind_MELOADER>(ini());
    }
    static QLineEdit* edit(TToolPathForm& form)
    {
        return form.findChild<QLineEdit*>(
            std::string(GetParam().section) == "EPIC" ? "EPIC_Path" : "MELOAD_Path");
    }
};

TEST_P(PathForms, TypedTextIsNotTakenOnlyBrowsingChangesThePath)
{
    TIniFile(ini()).WriteString(GetParam().section, "PATHNAME", "/opt/old/TOOL.EXE");
    auto form = makeForm();
    EXPECT_EQ(form->windowTitle().toStdString(), GetParam().caption);
    form->FormActivate();
    QLineEdit* box = edit(*form);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toolTip().toStdString(), GetParam().editHint);
    EXPECT_EQ(box->text(), "/opt/old/TOOL.EXE");
    box->setText("/typed/path.exe");
    form->OKClick();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(key(GetParam().section, "PATHNAME"), "/opt/old/TOOL.EXE");

    m_dialogs.answer("/opt/new/TOOL.EXE");
    form->FormActivate();
    form->BrowseClick();
    ASSERT_EQ(m_dialogs.requests().size(), 1u);
    const TFileDialogRequest& request = m_dialogs.requests()[0];
    EXPECT_EQ(request.kind, TFileDialogKind::Open);
    EXPECT_EQ(request.title, GetParam().browseTitle);
    EXPECT_EQ(request.filter, GetParam().browseFilter);
    EXPECT_EQ(request.fileName, GetParam().browseFileName);
    EXPECT_EQ(request.defaultExtension, "EXE");
    EXPECT_EQ(request.initialFolder, "C:\\");
    EXPECT_EQ(box->text(), "/opt/new/TOOL.EXE");
    form->OKClick();
    EXPECT_EQ(key(GetParam().section, "PATHNAME"), "/opt/new/TOOL.EXE");
}

TEST_P(PathForms, CancelWritesNothingAndAbsentKeyShowsTheRememberedPath)
{
    auto form = makeForm();
    form->FormActivate();
    EXPECT_TRUE(edit(*form)->text().isEmpty());
    m_dialogs.answer("/chosen/TOOL.EXE");
    form->BrowseClick();
    form->CancelClick();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(key(GetParam().section, "PATHNAME"), "<absent>");
    // The key is still absent: the path browsed to last is shown again.
    form->FormActivate();
    EXPECT_EQ(edit(*form)->text(), "/chosen/TOOL.EXE");
    // A cancelled browse keeps the path.
    m_dialogs.answer(std::nullopt);
    form->BrowseClick();
    EXPECT_EQ(form->rememberedPath(), "/chosen/TOOL.EXE");
}

INSTANTIATE_TEST_SUITE_P(
    EpicAndMeloader, PathForms,
    ::testing::Values(PathFormCase{"EPIC", "Find EPIC Directory Path", "Find EPIC Directory",
                                   "EPICWIN|EPICWIN.EXE;", "EPICWIN.EXE",
                                   "Melab's EPIC Programmer Directory and EXE name"},
                      PathFormCase{"MELOADER", "Find MELOADER Directory Path",
                                   "Find MELOADER Directory", "MELOADER|MELOADER.EXE;",
                                   "MELOADER.EXE", "Melab's MELOADER Directory and EXE name"}));

// The user-defined programmer and downloader dialogs.
struct UserFormCase
{
    const char* section;
    const char* caption;
    const char* browseTitle;
    const char* boxes[3];
    const char* cancelHint;
};

class UserForms : public ToolPathFormsTest, public ::testing::WithParamInterface<UserFormCase>
{
protected:
    std::unique_ptr<TUserToolForm> makeForm()
    {
        if (std::string(GetParam().section) == "EXT_PROG")
            return std::make_unique<TProgPath>(ini());
        return std::make_unique<TBootloader_Parameters>(ini());
    }
    static QLineEdit* box(TUserToolForm& form, int index)
    {
        return form.findChild<QLineEdit*>(GetParam().boxes[index]);
    }
};

TEST_P(UserForms, ActivationReadsTheKeysAndOkWritesTheBoxes)
{
    TIniFile settings(ini());
    settings.WriteString(GetParam().section, "NAME", "PicKit");
    settings.WriteString(GetParam().section, "EXT_PATH", "/usr/bin/pk");
    settings.WriteString(GetParam().section, "CMD_LINE", "-p%PIC");
    auto form = makeForm();
    EXPECT_EQ(form->windowTitle().toStdString(), GetParam().caption);
    EXPECT_EQ(form->CancelButton->toolTip().toStdString(), GetParam().cancelHint);
    EXPECT_EQ(form->OKButton->toolTip(), "Return to the editor");
    form->FormActivate();
    EXPECT_EQ(box(*form, 0)->text(), "PicKit");
    EXPECT_EQ(box(*form, 1)->text(), "/usr/bin/pk");
    EXPECT_EQ(box(*form, 2)->text(), "-p%PIC");

    box(*form, 0)->setText("");
    box(*form, 2)->setText("%FULL -x");
    form->OKClick();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(key(GetParam().section, "NAME"), "Undefined");
    EXPECT_EQ(key(GetParam().section, "EXT_PATH"), "/usr/bin/pk");
    EXPECT_EQ(key(GetParam().section, "CMD_LINE"), "%FULL -x");
    EXPECT_EQ(form->remembered().name, "Undefined");
}

TEST_P(UserForms, BrowseFillsThePathAndCancelWritesNothing)
{
    auto form = makeForm();
    form->FormActivate();
    box(*form, 1)->setText("/typed");
    m_dialogs.answer(std::nullopt).answer("/opt/loader/LOAD.EXE");
    form->BrowseClick();
    EXPECT_EQ(box(*form, 1)->text(), "/typed");
    form->BrowseClick();
    EXPECT_EQ(box(*form, 1)->text(), "/opt/loader/LOAD.EXE");
    const TFileDialogRequest& request = m_dialogs.requests()[1];
    EXPECT_EQ(request.title, GetParam().browseTitle);
    EXPECT_EQ(request.filter, "EXE Files|*.EXE;");
    EXPECT_EQ(request.fileName, "*.EXE");
    form->CancelClick();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_FALSE(TIniFile(ini()).ValueExists(GetParam().section, "EXT_PATH"));
    // With no keys stored, the browsed path is what the box shows next time.
    form->FormActivate();
    EXPECT_EQ(box(*form, 1)->text(), "/opt/loader/LOAD.EXE");
}

TEST_P(UserForms, ModalRunIsEnabledOnlyWhileShown)
{
    auto form = makeForm();
    EXPECT_FALSE(form->isEnabled());
    bool enabledWhileShown = false;
    QTimer::singleShot(0, form.get(), [&] {
        enabledWhileShown = form->isEnabled() && form->isVisible();
        box(*form, 0)->setText("MyLoader");
        form->OKButton->click();
    });
    EXPECT_TRUE(form->execute());
    EXPECT_TRUE(enabledWhileShown);
    EXPECT_FALSE(form->isEnabled());
    EXPECT_EQ(key(GetParam().section, "NAME"), "MyLoader");
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint);
}

INSTANTIATE_TEST_SUITE_P(ProgrammerAndBootloader, UserForms,
                         ::testing::Values(UserFormCase{"EXT_PROG",
                                                        "Programmer Directory Path",
                                                        "Find Programmer Directory",
                                                        {"ProgName", "PathName", "ComParams"},
                                                        "Cancel the programmer choice"},
                                           UserFormCase{
                                               "EXT_BOOTLOADER",
                                               "Bootloader Directory Path",
                                               "Find Bootloader Directory",
                                               {"BootName", "Boot_PathName", "Boot_ComParams"},
                                               "Cancel the bootloader choice"}));

} // namespace
