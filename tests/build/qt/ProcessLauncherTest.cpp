// The process launcher against stand-in programs: exit statuses, failed starts, documents,
// Windows programs, waiting while events run and stopping when the application ends.
#include "build/qt/ProcessLauncher.h"

#include "StandIns.h"
#include "platform/ScriptedMessageBoxes.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class ProcessLauncherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_launcher.setWineProgram("");
        QObject::connect(&m_launcher, &TProcessLauncher::finished,
                         [this](const TCommandLine& command, const TLaunchResult& result) {
                             m_signalled.push_back({command, result});
                         });
    }
    void TearDown() override { TProcessLauncher::setApplicationEnding(false); }

    TempFolder m_dir;
    TProcessLauncher m_launcher;
    std::vector<std::pair<TCommandLine, TLaunchResult>> m_signalled;
};

TEST_F(ProcessLauncherTest, WaitsForTheExitStatusAndSignalsOnce)
{
    writeScript(m_dir.path("fail.sh"), "exit 3");
    writeScript(m_dir.path("ok.sh"), "exit 0");
    const TCommandLine command{m_dir.path("fail.sh"), "", LaunchMode::Wait};
    const TLaunchResult result = m_launcher.run(command);
    EXPECT_EQ(result.outcome, LaunchOutcome::Finished);
    EXPECT_EQ(result.exitCode, 3);
    ASSERT_EQ(m_signalled.size(), 1u);
    EXPECT_EQ(m_signalled[0].first, command);
    EXPECT_EQ(m_signalled[0].second.exitCode, 3);

    EXPECT_TRUE(m_launcher.ExecuteAndWait(m_dir.path("ok.sh"), ""));
    EXPECT_EQ(m_signalled.size(), 2u);
}

TEST_F(ProcessLauncherTest, ProgramKilledBySignalIsCrashed)
{
    writeScript(m_dir.path("crash.sh"), "kill -9 $$");
    EXPECT_EQ(m_launcher.run({m_dir.path("crash.sh"), "", LaunchMode::Wait}).outcome,
              LaunchOutcome::Crashed);
}

TEST_F(ProcessLauncherTest, FailedStartIsSilentWhenWaitingAndAnErrorWhenDetached)
{
    const std::string missing = m_dir.path("NOPE.EXE");
    EXPECT_FALSE(m_launcher.ExecuteAndWait(missing, "x"));
    ASSERT_EQ(m_signalled.size(), 1u);
    EXPECT_EQ(m_signalled[0].second.outcome, LaunchOutcome::FailedToStart);
    EXPECT_FALSE(m_signalled[0].second.error.empty());

    try {
        m_launcher.RunDetached(missing, "x");
        FAIL() << "a detached start of a missing program must raise";
    } catch (const EProcessStart& error) {
        EXPECT_EQ(error.Message(), "Problem Running " + missing);
    }
    // A folder and an empty name are no programs either.
    EXPECT_FALSE(m_launcher.ExecuteAndWait(m_dir.path(), ""));
    EXPECT_THROW(m_launcher.RunDetached("", ""), EProcessStart);
    EXPECT_EQ(m_signalled.size(), 4u);
}

TEST_F(ProcessLauncherTest, DocumentsOpenWithTheDesktopApplication)
{
    writeWholeFile(m_dir.path("ZENRA_HELP.HLP"), "help text");
    std::vector<QString> opened;
    m_launcher.setDocumentOpener([&](const QString& path) {
        opened.push_back(path);
        return true;
    });
    const TLaunchResult result =
        m_launcher.run({m_dir.path("ZENRA_HELP.HLP"), "ignored", LaunchMode::Wait});
    EXPECT_EQ(result.outcome, LaunchOutcome::OpenedDocument);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toStdString(), m_dir.path("ZENRA_HELP.HLP"));

    m_launcher.setDocumentOpener([](const QString&) { return false; });
    EXPECT_FALSE(m_launcher.ExecuteAndWait(m_dir.path("ZENRA_HELP.HLP"), ""));
    EXPECT_THROW(m_launcher.RunDetached(m_dir.path("ZENRA_HELP.HLP"), ""), EProcessStart);
}

TEST_F(ProcessLauncherTest, WindowsProgramsRunThroughWineOnlyWhenItIsThere)
{
    const std::string program = m_dir.path("EPICWIN.EXE");
    writeWholeFile(program, std::string("MZ\x90\0\3\0\0\0", 8));
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    // Without wine each start says which program needs it and how to get it, once, and a detached
    // start adds no second box.
    TScriptedMessageBoxes boxes;
    TScopedMessageBoxes installed(boxes);
    boxes.answer(TMessageResult::Ok).answer(TMessageResult::Ok);
    EXPECT_FALSE(m_launcher.ExecuteAndWait(program, "A.HEX"));
    EXPECT_NO_THROW(m_launcher.RunDetached(program, "A.HEX"));
    ASSERT_EQ(boxes.shown().size(), 2u);
    for (const TShownMessageBox& box : boxes.shown()) {
        EXPECT_EQ(box.kind, TMessageKind::Error);
        EXPECT_EQ(box.caption, kWineNeededCaption);
        EXPECT_NE(box.text.find("\"" + program + "\" is a Windows program"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("apt install wine"), std::string::npos) << box.text;
    }

    writeRecorder(m_dir.path("wine"), m_dir.path("wine.txt"));
    m_launcher.setWineProgram(QString::fromStdString(m_dir.path("wine")));
    EXPECT_TRUE(m_launcher.ExecuteAndWait(program, "D:\\W\\A.HEX -dPIC16F877"));
    EXPECT_EQ(splitLines(readWholeFile(m_dir.path("wine.txt"))),
              (Lines{program, "D:\\W\\A.HEX", "-dPIC16F877"}));
}

TEST_F(ProcessLauncherTest, ProgramPathWithSpacesAndQuotedParameters)
{
    std::filesystem::create_directory(m_dir.path("Program Files"));
    const std::string program = m_dir.path("Program Files/My Tool.EXE");
    writeRecorder(program, m_dir.path("args.txt"));
    EXPECT_TRUE(m_launcher.ExecuteAndWait(program, "\"my file.hex\" -p%x  last"));
    EXPECT_EQ(splitLines(readWholeFile(m_dir.path("args.txt"))),
              (Lines{"my file.hex", "-p%x", "last"}));
}

TEST_F(ProcessLauncherTest, ProgramNamedInOtherLetterCaseIsFound)
{
    writeRecorder(m_dir.path("kaltor_pl.exe"), m_dir.path("args.txt"));
    EXPECT_TRUE(m_launcher.ExecuteAndWait(m_dir.path("KALTOR_PL.EXE"), "X.BAS -m -q"));
    EXPECT_EQ(splitLines(readWholeFile(m_dir.path("args.txt"))), (Lines{"X.BAS", "-m", "-q"}));
}

TEST_F(ProcessLauncherTest, EventsRunWhileWaiting)
{
    writeScript(m_dir.path("slow.sh"), "sleep 0.5");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(m_launcher.ExecuteAndWait(m_dir.path("slow.sh"), ""));
    EXPECT_GE(clock.elapsed(), 450);
    // Events are handled between 100 ms slices: at least a few ticks, never all 10.
    EXPECT_GE(ticks, 2);
}

TEST_F(ProcessLauncherTest, WaitStopsWhenTheApplicationIsEnding)
{
    writeScript(m_dir.path("long.sh"), "sleep 3");
    QTimer::singleShot(150, [] { TProcessLauncher::setApplicationEnding(true); });
    QElapsedTimer clock;
    clock.start();
    const TLaunchResult result = m_launcher.run({m_dir.path("long.sh"), "", LaunchMode::Wait});
    EXPECT_EQ(result.outcome, LaunchOutcome::Abandoned);
    EXPECT_TRUE(result.started());
    EXPECT_LT(clock.elapsed(), 1500);
}

TEST_F(ProcessLauncherTest, DetachedProgramRunsOnItsOwn)
{
    writeScript(m_dir.path("later.sh"),
                "sleep 0.3\nprintf '%s\\n' \"$@\" > '" + m_dir.path("args.txt") + "'");
    QElapsedTimer clock;
    clock.start();
    m_launcher.RunDetached(m_dir.path("later.sh"), "A.HEX");
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_FALSE(std::filesystem::exists(m_dir.path("args.txt")));
    EXPECT_EQ(awaitRecord(m_dir.path("args.txt")), Lines{"A.HEX"});
    ASSERT_EQ(m_signalled.size(), 1u);
    EXPECT_EQ(m_signalled[0].second.outcome, LaunchOutcome::Detached);
}

} // namespace
