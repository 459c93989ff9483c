#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TempDir.h"
#include "text/TextFile.h"

using namespace brekka;
using brekka::testing::TempDir;

TEST(TextReader, NumbersSkipBlanksTabsAndLineEnds) {
    for (const char* eol : {"\r\n", "\n"}) {
        TextReader reader;
        reader.OpenText(std::string("  12\t-3.5") + eol + eol + "   4e2 +7" + eol);
        EXPECT_EQ(reader.ReadInteger(), 12);
        EXPECT_DOUBLE_EQ(reader.ReadReal(), -3.5);
        EXPECT_EQ(reader.LineNumber(), 1);
        EXPECT_DOUBLE_EQ(reader.ReadReal(), 400.0);
        EXPECT_EQ(reader.LineNumber(), 3);
        EXPECT_EQ(reader.ReadInteger(), 7);
        EXPECT_TRUE(reader.RestOfLineIsBlank());
        reader.SkipLine();
        EXPECT_TRUE(reader.AtEnd());
        EXPECT_THROW(reader.ReadReal(), TextReadError);
    }
}

TEST(TextReader, LinesAndSkippedCharactersStayOnTheirLine) {
    TextReader reader;
    reader.OpenText("first line\r\nab\r\n  x  9\nlast");
    EXPECT_EQ(reader.ReadLine(), "first line");
    reader.SkipChars(10); // the line holds only two characters
    EXPECT_TRUE(reader.RestOfLineIsBlank());
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.LineNumber(), 3);
    reader.SkipChars(3);
    EXPECT_FALSE(reader.RestOfLineIsBlank());
    EXPECT_EQ(reader.ReadLine(), "  9");
    EXPECT_EQ(reader.ReadLine(), "last");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(SplitLines("a\r\n\r\nb\nc"), (std::vector<std::string>{"a", "", "b", "c"}));
}

TEST(TextReader, RefusesWhatIsNoFiniteNumber) {
    for (const char* text :
         {"abc", "1,5", "inf", "-inf", "nan", "NaN", "1e400", "1e", "--1", ".", "12x", "0x1A"}) {
        TextReader reader;
        reader.OpenText(text);
        EXPECT_THROW(reader.ReadReal(), TextReadError) << text;
    }
    for (const char* text : {"1.5", "9223372036854775808", "1e3"}) {
        TextReader reader;
        reader.OpenText(text);
        EXPECT_THROW(reader.ReadInteger(), TextReadError) << text;
    }
    double value = 0;
    EXPECT_TRUE(ParseReal(".5", value));
    EXPECT_EQ(value, 0.5);
    EXPECT_TRUE(ParseReal("-5.", value));
    EXPECT_EQ(value, -5.0);
    EXPECT_TRUE(ParseReal("+2.5E-3", value));
    EXPECT_EQ(value, 0.0025);
    EXPECT_FALSE(ParseReal("", value));
    EXPECT_FALSE(ParseReal(" 1", value));
}

TEST(TextFileWriter, EndsEveryLineInCrLf) {
    TempDir dir;
    const auto path = dir.File("lines.txt");
    TextFileWriter writer;
    ASSERT_TRUE(writer.Open(path.string()));
    writer.WriteLine("one");
    writer.Write("tw");
    writer.WriteLine("o");
    writer.WriteLine();
    ASSERT_TRUE(writer.Close());
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    EXPECT_EQ(content, "one\r\ntwo\r\n\r\n");

    TextFileWriter nowhere;
    EXPECT_FALSE(nowhere.Open((path / "no" / "such.txt").string()));
}
