// Splitting parameter texts into arguments as Windows programs do.
#include "build/WindowsCommandLine.h"

#include <gtest/gtest.h>

using Args = std::vector<std::string>;

TEST(WindowsCommandLine, SplitsAtBlanksAndKeepsBackslashPaths)
{
    EXPECT_EQ(splitWindowsCommandLine("D:\\W\\A.HEX -p18F452 -fD:\\W\\A.HEX"),
              (Args{"D:\\W\\A.HEX", "-p18F452", "-fD:\\W\\A.HEX"}));
    EXPECT_EQ(splitWindowsCommandLine("  a\t\tb  "), (Args{"a", "b"}));
    EXPECT_EQ(splitWindowsCommandLine(""), Args{});
    EXPECT_EQ(splitWindowsCommandLine("   "), Args{});
    EXPECT_EQ(splitWindowsCommandLine("C:\\DIR\\"), Args{"C:\\DIR\\"});
}

TEST(WindowsCommandLine, QuotesGroupAndDoubledQuotesAreLiteral)
{
    EXPECT_EQ(splitWindowsCommandLine("\"C:\\My Files\\A.HEX\" -q"),
              (Args{"C:\\My Files\\A.HEX", "-q"}));
    EXPECT_EQ(splitWindowsCommandLine("-f\"a b\"c d"), (Args{"-fa bc", "d"}));
    EXPECT_EQ(splitWindowsCommandLine("\"\""), Args{""});
    EXPECT_EQ(splitWindowsCommandLine("\"say \"\"hi\"\"\""), Args{"say \"hi\""});
    // An unclosed quote runs to the end.
    EXPECT_EQ(splitWindowsCommandLine("\"a b"), Args{"a b"});
}

TEST(WindowsCommandLine, BackslashesBeforeQuotes)
{
    EXPECT_EQ(splitWindowsCommandLine("a\\\"b"), Args{"a\"b"});         // a\"b
    EXPECT_EQ(splitWindowsCommandLine("a\\\\\"b c\""), Args{"a\\b c"}); // a\\"b c"
    EXPECT_EQ(splitWindowsCommandLine("a\\\\\\\"b"), Args{"a\\\"b"});   // a\\\"b
    EXPECT_EQ(splitWindowsCommandLine("\"C:\\DIR\\\\\" x"), (Args{"C:\\DIR\\", "x"}));
}

TEST(WindowsCommandLine, QuotedArgumentRoundTrips)
{
    EXPECT_EQ(quotedArgument("/tmp/a.hex"), "/tmp/a.hex");
    EXPECT_EQ(quotedArgument("/tmp/my dir/a.hex"), "\"/tmp/my dir/a.hex\"");
    for (const std::string path : {"/tmp/my dir/a.hex", "C:\\A B\\X.HEX", "plain"})
        EXPECT_EQ(splitWindowsCommandLine(quotedArgument(path) + " -m -q"),
                  (Args{path, "-m", "-q"}));
}
