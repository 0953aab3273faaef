#include "platform/AtomicFile.h"

#include "base/Exception.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

mode_t permissionsOf(const std::string& fileName)
{
    struct stat info {};
    ::stat(fileName.c_str(), &info);
    return info.st_mode & 07777;
}

// Lowers the largest file size this process may write, so writes past it fail with EFBIG even
// for root; the signal that would end the process is ignored meanwhile.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_saved {};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    const std::string target = folder.path("ZBX.INI");
    writeWholeFile(target, "old content that is longer than the new one");
    WriteFileAtomically(target, "new");
    EXPECT_EQ(readWholeFile(target), "new");
    EXPECT_EQ(folder.entryCount(), 1u);

    WriteFileAtomically(folder.path("fresh.txt"), std::string("a\0b", 3));
    EXPECT_EQ(readWholeFile(folder.path("fresh.txt")), std::string("a\0b", 3));
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(AtomicFile, StreamReadsBackAndSeeksWhatWasWrittenBeforeCommit)
{
    TempFolder folder;
    const std::string target = folder.path("data.bin");
    TAtomicFileStream stream(target);
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Size(), 6);
    EXPECT_EQ(stream.Seek(-2, SeekOrigin::End), 4);
    char tail[3] = {};
    EXPECT_EQ(stream.Read(tail, 5), 2);
    EXPECT_STREQ(tail, "ef");
    EXPECT_FALSE(std::filesystem::exists(target));
    stream.Commit();
    stream.Commit(); // a second commit has nothing left to do
    EXPECT_EQ(readWholeFile(target), "abcdef");
}

TEST(AtomicFile, KeepsThePermissionBitsOfTheReplacedFile)
{
    TempFolder folder;
    const std::string target = folder.path("script.sh");
    writeWholeFile(target, "#!/bin/sh\n");
    ::chmod(target.c_str(), 0751);
    WriteFileAtomically(target, "#!/bin/sh\nexit 0\n");
    EXPECT_EQ(permissionsOf(target), 0751u);

    const mode_t mask = ::umask(022);
    WriteFileAtomically(folder.path("new.txt"), "x");
    ::umask(mask);
    EXPECT_EQ(permissionsOf(folder.path("new.txt")), 0644u);
}

TEST(AtomicFile, ThroughSymbolicLinksReplacesTheDestinationAndKeepsTheLinks)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.path("real"));
    const std::string destination = folder.path("real/settings.ini");
    writeWholeFile(destination, "before");
    // An absolute link to a relative link to the file.
    std::filesystem::create_symlink("real/settings.ini", folder.path("relative.ini"));
    std::filesystem::create_symlink(folder.path("relative.ini"), folder.path("absolute.ini"));

    WriteFileAtomically(folder.path("absolute.ini"), "after");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("absolute.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("relative.ini")));
    EXPECT_EQ(readWholeFile(destination), "after");
    EXPECT_EQ(folder.entryCount(), 3u);

    // A dangling link gets its destination created.
    std::filesystem::create_symlink("real/missing.ini", folder.path("dangling.ini"));
    WriteFileAtomically(folder.path("dangling.ini"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path("dangling.ini")));
    EXPECT_EQ(readWholeFile(folder.path("real/missing.ini")), "made");
}

TEST(AtomicFile, LinkLoopEndsWithAnErrorInsteadOfHanging)
{
    TempFolder folder;
    std::filesystem::create_symlink(folder.path("b"), folder.path("a"));
    std::filesystem::create_symlink(folder.path("a"), folder.path("b"));
    EXPECT_THROW(WriteFileAtomically(folder.path("a"), "x"), EStreamError);
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(AtomicFile, MissingFolderFailsWithCreateErrorNamingTheTarget)
{
    TempFolder folder;
    const std::string target = folder.path("no such folder/ZBX.INI");
    try {
        WriteFileAtomically(target, "x");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + target + "\". No such file or directory");
    }
}

TEST(AtomicFile, FailedWriteKeepsTheOldFileAndRemovesTheTemporary)
{
    TempFolder folder;
    const std::string target = folder.path("KALTOR.DAT");
    writeWholeFile(target, "[MRU]\nfirst.bas\n");
    {
        FileSizeLimit limit(4096);
        try {
            WriteFileAtomically(target, std::string(100000, 'x'));
            FAIL() << "a write past the file size limit succeeded";
        } catch (const EWriteError& e) {
            EXPECT_NE(e.Message().find(target), std::string::npos) << e.Message();
            EXPECT_NE(e.Message().find("too large"), std::string::npos) << e.Message();
        }
    }
    EXPECT_EQ(readWholeFile(target), "[MRU]\nfirst.bas\n");
    EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(AtomicFile, RefusedRenameAndAbandonedStreamLeaveTheTargetAlone)
{
    TempFolder folder;
    // A non-empty folder cannot be replaced by a file.
    std::filesystem::create_directory(folder.path("occupied"));
    writeWholeFile(folder.path("occupied/inner"), "kept");
    EXPECT_THROW(WriteFileAtomically(folder.path("occupied"), "x"), EWriteError);
    EXPECT_EQ(readWholeFile(folder.path("occupied/inner")), "kept");
    EXPECT_EQ(folder.entryCount(), 1u);

    writeWholeFile(folder.path("a.bas"), "original");
    {
        TAtomicFileStream stream(folder.path("a.bas"));
        stream.WriteBuffer("partial", 7);
    }
    EXPECT_EQ(readWholeFile(folder.path("a.bas")), "original");
    EXPECT_EQ(folder.entryCount(), 2u);
}

// A save killed between writing its temporary file and renaming it left ".NAME.XXXXXX"
// beside the file for ever.
TEST(AtomicFile, TemporaryLeftByAKilledSaveIsRemovedByTheNextSaveOfThatFile)
{
    TempFolder folder;
    writeWholeFile(folder.path(".LED.BAS.a1B2c3"), "half written");
    writeWholeFile(folder.path(".OTHER.BAS.a1B2c3"), "another file's");
    writeWholeFile(folder.path(".LED.BAS.notours"), "not a temporary name");
    WriteFileAtomically(folder.path("LED.BAS"), "saved");
    EXPECT_EQ(readWholeFile(folder.path("LED.BAS")), "saved");
    EXPECT_FALSE(std::filesystem::exists(folder.path(".LED.BAS.a1B2c3")));
    EXPECT_TRUE(std::filesystem::exists(folder.path(".OTHER.BAS.a1B2c3")));
    EXPECT_TRUE(std::filesystem::exists(folder.path(".LED.BAS.notours")));
    EXPECT_EQ(folder.entryCount(), 3u);
}
