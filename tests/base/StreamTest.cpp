#include "base/Exception.h"
#include "base/Stream.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(MemoryStream, WritesGrowReadsStopAtEndSeeksClampAtZero)
{
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    EXPECT_EQ(s.Size(), 6);
    EXPECT_EQ(s.Seek(-100, SeekOrigin::Current), 0);
    char buf[10] = {};
    EXPECT_EQ(s.Read(buf, 10), 6);
    EXPECT_STREQ(buf, "abcdef");
    EXPECT_EQ(s.Seek(-2, SeekOrigin::End), 4);
    s.WriteBuffer("XYZ", 3);
    EXPECT_EQ(s.AsString(), "abcdXYZ");
    s.SetPosition(7);
    EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
}

TEST(ReadOnlyMemoryStream, RefusesWrites)
{
    const char text[] = "hello";
    TReadOnlyMemoryStream s(text, 5);
    EXPECT_THROW(s.Write("x", 1), EStreamError);
    try {
        s.Write("x", 1);
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot write to a read-only stream");
    }
}

TEST(FileStream, MissingFileAndUncreatableFileNameTheirPath)
{
    const std::string missing = "/nonexistent-folder/none.txt";
    try {
        TFileStream s(missing, FileMode::OpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message().find("Cannot open file \"" + missing + "\""), std::string::npos);
    }
    EXPECT_THROW(TFileStream(missing, FileMode::Create), EFCreateError);
}

TEST(FileStream, RoundTripsBytesAndCopiesFromAnotherStream)
{
    const auto path = std::filesystem::temp_directory_path() / "zbx_stream_test.bin";
    {
        TFileStream out(path.string(), FileMode::Create);
        TMemoryStream source(std::vector<uint8_t>{0, 1, 2, 255, 13, 10});
        EXPECT_EQ(out.CopyFrom(source, 0), 6);
        out.Close();
    }
    TFileStream in(path.string(), FileMode::OpenRead);
    EXPECT_EQ(in.Size(), 6);
    uint8_t bytes[6];
    in.ReadBuffer(bytes, 6);
    EXPECT_EQ(bytes[3], 255);
    EXPECT_EQ(in.Read(bytes, 1), 0);
    std::filesystem::remove(path);
}
