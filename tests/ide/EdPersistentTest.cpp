#include "base/Exception.h"
#include "ide/EdPersistent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

class EdPersistentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("zbx_persistent_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_file = (m_folder / "KALTOR.DAT").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    void writeFile(const std::string& bytes)
    {
        std::ofstream(m_file, std::ios::binary) << bytes;
    }
    std::string readFile() const
    {
        std::ifstream in(m_file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path m_folder;
    std::string m_file;
};

std::vector<std::string> numbered(const std::string& stem, int count)
{
    std::vector<std::string> items;
    for (int i = 1; i <= count; ++i)
        items.push_back(stem + std::to_string(i));
    return items;
}

} // namespace

TEST_F(EdPersistentTest, MissingFileIsCreatedEmptyAndAnUncreatableOneIsAProblemNotAnError)
{
    TEdPersistent settings(m_file);
    EXPECT_TRUE(std::filesystem::exists(m_file));
    EXPECT_EQ(readFile(), "");
    EXPECT_TRUE(settings.ReadList("MRU").empty());
    EXPECT_EQ(settings.LoadProblem(), "");
    const std::string uncreatable = (m_folder / "missing" / "KALTOR.DAT").string();
    TEdPersistent lost(uncreatable);
    EXPECT_NE(lost.LoadProblem().find(uncreatable), std::string::npos) << lost.LoadProblem();
    EXPECT_THROW(lost.WriteList("MRU", {"a"}), EStreamError);
    EXPECT_EQ(lost.ReadList("MRU"), std::vector<std::string>{"a"}); // goes on with what it has
}

TEST_F(EdPersistentTest, ReadStopsAtEmptyLineEndOfFileOrTwentyEntriesAndIgnoresHeaderCase)
{
    std::string bytes = "[FindHistory]\r\nalpha\r\nbeta\r\n\r\n[mru]\r\n";
    for (const auto& name : numbered("C:\\F", 25))
        bytes += name + "\r\n";
    writeFile(bytes);
    TEdPersistent settings(m_file);
    EXPECT_EQ(settings.ReadList("FindHistory"), (std::vector<std::string>{"alpha", "beta"}));
    const auto recent = settings.ReadList("MRU");
    ASSERT_EQ(recent.size(), 20u);
    EXPECT_EQ(recent.front(), "C:\\F1");
    EXPECT_EQ(recent.back(), "C:\\F20");
    EXPECT_TRUE(settings.ReadList("ReplaceHistory").empty());
}

TEST_F(EdPersistentTest, WrittenSectionMovesToTheEndWithOneEmptyLineAfterIt)
{
    writeFile("[FindHistory]\nold\n\n\n[MRU]\nC:\\A.BAS\n\n");
    TEdPersistent settings(m_file);
    settings.WriteList("FindHistory", {"new", "", "newer"});
    EXPECT_EQ(readFile(), "[MRU]\r\nC:\\A.BAS\r\n\r\n[FindHistory]\r\nnew\r\nnewer\r\n\r\n");
    EXPECT_EQ(TEdPersistent(m_file).ReadList("FindHistory"), (std::vector<std::string>{"new", "newer"}));
}

TEST_F(EdPersistentTest, WriteKeepsAtMostTheFirstTwentyItemsSkippingEmptyOnes)
{
    TEdPersistent settings(m_file);
    auto items = numbered("f", 25);
    items[3].clear();
    settings.WriteList("MRU", items);
    const auto stored = TEdPersistent(m_file).ReadList("MRU");
    ASSERT_EQ(stored.size(), 19u);
    EXPECT_EQ(stored[3], "f5");
    EXPECT_EQ(stored.back(), "f20");
}

TEST_F(EdPersistentTest, SectionAfterOneWithoutItsEmptyLineIsNotSwallowed)
{
    // A hand-edited file whose last section runs to the end of the file.
    writeFile("[MRU]\r\nC:\\A.BAS");
    TEdPersistent settings(m_file);
    settings.WriteList("FindHistory", {"x"});
    TEdPersistent reread(m_file);
    EXPECT_EQ(reread.ReadList("MRU"), (std::vector<std::string>{"C:\\A.BAS"}));
    EXPECT_EQ(reread.ReadList("FindHistory"), (std::vector<std::string>{"x"}));
}

TEST_F(EdPersistentTest, LeadingEmptyLinesAreDroppedOnWrite)
{
    writeFile("\r\n\r\n[MRU]\r\na\r\n\r\n");
    TEdPersistent settings(m_file);
    settings.WriteList("MRU", {"b"});
    EXPECT_EQ(readFile(), "[MRU]\r\nb\r\n\r\n");
}

// KALTOR.DAT was read whole whatever its size, every entry at any length, and a file that
// could not be read was then overwritten with only the section written.
TEST_F(EdPersistentTest, OverlongEntriesAreLeftOutAndAnOversizedFileIsNeitherReadNorReplaced)
{
    const std::string longName(TEdPersistent::MaxEntryLength + 1, 'n');
    writeFile("[MRU]\r\n/a.bas\r\n" + longName + "\r\n/b.bas\r\n");
    TEdPersistent settings(m_file);
    EXPECT_EQ(settings.ReadList("MRU"), (std::vector<std::string>{"/a.bas", "/b.bas"}));
    EXPECT_NE(settings.LoadProblem().find("1 entries longer than 4096"), std::string::npos) << settings.LoadProblem();
    settings.WriteList("FindHistory", {"ok", longName});
    EXPECT_EQ(settings.ReadList("FindHistory"), std::vector<std::string>{"ok"});

    writeFile("[MRU]\r\n/kept.bas\r\n");
    std::filesystem::resize_file(m_file, TEdPersistent::MaxFileSize + 1);
    const std::string before = readFile();
    TEdPersistent oversized(m_file);
    EXPECT_TRUE(oversized.ReadList("MRU").empty());
    EXPECT_NE(oversized.LoadProblem().find("too large"), std::string::npos) << oversized.LoadProblem();
    EXPECT_THROW(oversized.WriteList("MRU", {"/new.bas"}), EStreamError);
    EXPECT_EQ(oversized.ReadList("MRU"), std::vector<std::string>{"/new.bas"});
    EXPECT_TRUE(readFile() == before);
}
