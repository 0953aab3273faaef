// zbxedit as users start it, through its composition root (TZbxEditProgram), in a program
// folder of its own. Only what a test in one process must replace is replaced: the message
// boxes, file dialogs and printers (scripted answers), the program folder, the per-user folder
// and the folder of the single-instance socket (temporary ones).
#pragma once

#include "ide/EditorMainForm.h"
#include "ide/ZbxEditProgram.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/ScriptedPrinters.h"
#include "platform/TempFolder.h"

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class ProgramFixture : public ::testing::Test
{
protected:
    ProgramFixture() { std::filesystem::create_directories(m_app.path("INC")); }

    void writeIni(const std::string& text) { writeWholeFile(m_app.path("INC/ZBX.INI"), text); }

    TZbxEditServices services()
    {
        TZbxEditServices replaced;
        replaced.messageBoxes = &m_boxes;
        replaced.fileDialogs = &m_dialogs;
        replaced.printers = &m_printers;
        replaced.applicationFolder = m_app.path();
        replaced.perUserFolder = m_user.path("config/");
        replaced.instanceFolder = QString::fromStdString(m_user.path());
        return replaced;
    }

    // Starts the program and lets its first activation run; the exit code when it ended
    // before showing its window.
    std::optional<int> startProgram(std::vector<std::string> arguments = {"zbxedit"})
    {
        m_program = std::make_unique<TZbxEditProgram>(std::move(arguments), services());
        const std::optional<int> ended = m_program->start();
        if (!ended)
            QTest::qWait(20);
        return ended;
    }
    TEditorMainForm& start(std::vector<std::string> arguments = {"zbxedit"})
    {
        if (const std::optional<int> ended = startProgram(std::move(arguments)))
            throw std::runtime_error("the program ended at start with " + std::to_string(*ended));
        return m_program->mainForm();
    }

    TempFolder m_app;
    TempFolder m_user;
    TScriptedMessageBoxes m_boxes;
    TScriptedFileDialogs m_dialogs;
    TScriptedPrinters m_printers;
    std::unique_ptr<TZbxEditProgram> m_program;
};
