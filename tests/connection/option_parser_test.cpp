// Command-line splitting and getopt-style option parsing. Every case runs in a
// process of its own, so the parser starts from its load-time state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "option_parser.h"

namespace {

const LongOption kPanelOptions[] = {
    {"board", OPTION_REQUIRED_ARGUMENT, nullptr, 'b'},
    {"page", OPTION_REQUIRED_ARGUMENT, nullptr, 'p'},
    {nullptr, 0, nullptr, 0},
};

// One parse of a whole command line, as the panels run it. A case that
// parses twice starts the second after the first has reached its end.
struct Parse {
    explicit Parse(const char* line)
    {
        OptionIndex = 1;
        strncpy(text, line, sizeof text - 1);
        OptionVerbose = 0;
        count = SplitCommandLine(text, vector, 32);
    }

    // The next result, with its argument ("(none)" when null) and letter.
    std::string Next(const char* options = "b:p:", int mode = OPTION_MODE_LONG)
    {
        const int result = ParseOption(count, vector, options, kPanelOptions, nullptr, mode);
        if (result == -1)
            return "end";
        std::string out(1, static_cast<char>(result));
        out += OptionArgument ? std::string(" ") + OptionArgument : std::string(" (none)");
        if (OptionLetter)
            out += std::string(" letter ") + static_cast<char>(OptionLetter);
        return out;
    }

    char text[512] = {};
    char* vector[32] = {};
    int count = 0;
};

} // namespace

TEST(SplitCommandLine, QuotesBlanksAndCapacity)
{
    char text[] = "a \"b c\" d   ";
    char* vector[32];
    ASSERT_EQ(SplitCommandLine(text, vector, 32), 4);
    EXPECT_STREQ(vector[0], "program name");
    EXPECT_STREQ(vector[1], "a");
    EXPECT_STREQ(vector[2], "b c");
    EXPECT_STREQ(vector[3], "d");

    char empty[] = "";
    EXPECT_EQ(SplitCommandLine(empty, vector, 32), 1);
    EXPECT_EQ(SplitCommandLine(nullptr, vector, 32), 1);

    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "w" + std::to_string(i) + "\t";
    std::vector<char> many(forty.begin(), forty.end());
    many.push_back('\0');
    ASSERT_EQ(SplitCommandLine(many.data(), vector, 32), 32);
    EXPECT_STREQ(vector[31], "w30");
}

TEST(SplitCommandLine, QuoteInsideWordIsOrdinaryAndUnclosedQuoteRunsToEnd)
{
    char text[] = "ab\"c \"d e";
    char* vector[32];
    ASSERT_EQ(SplitCommandLine(text, vector, 32), 3);
    EXPECT_STREQ(vector[1], "ab\"c");
    EXPECT_STREQ(vector[2], "d e");
}

TEST(ParseOption, ShortOptionTakesNextWord)
{
    Parse parse("-b 3");
    EXPECT_EQ(parse.Next(), "b 3");
    EXPECT_EQ(parse.Next(), "end");
}

TEST(ParseOption, GluedArgumentIsDroppedAndNextWordTaken)
{
    Parse parse("-b3 -p 2");
    EXPECT_EQ(parse.Next(), "b -p");
    EXPECT_EQ(parse.Next(), "end");
    EXPECT_EQ(OptionIndex, 3);
    EXPECT_STREQ(parse.vector[OptionIndex], "2");
}

TEST(ParseOption, MissingArgumentAtLastWord)
{
    Parse parse("-b3");
    EXPECT_EQ(parse.Next(), "? (none) letter b");
    EXPECT_EQ(parse.Next(), "? (none) letter 3");
    EXPECT_EQ(parse.Next(), "end");
}

TEST(ParseOption, LeadingColonSelectsColonAsErrorResult)
{
    Parse parse("-x -b");
    EXPECT_EQ(parse.Next(":b:p:"), ": (none) letter x");
    EXPECT_EQ(parse.Next(":b:p:"), ": (none) letter b");
    EXPECT_EQ(parse.Next(":b:p:"), "end");
}

TEST(ParseOption, LongOptionsWithEqualsAnyCase)
{
    Parse parse("--board=7 --PAGE=2 --Board 7");
    int index = -1;
    EXPECT_EQ(ParseOption(parse.count, parse.vector, "b:p:", kPanelOptions, &index, 0), 'b');
    EXPECT_STREQ(OptionArgument, "7");
    EXPECT_EQ(index, 0);
    EXPECT_EQ(ParseOption(parse.count, parse.vector, "b:p:", kPanelOptions, &index, 0), 'p');
    EXPECT_STREQ(OptionArgument, "2");
    EXPECT_EQ(index, 1);
    // Without "=" the long option has no argument; the next word ends the options.
    EXPECT_EQ(parse.Next(), "b (none)");
    EXPECT_EQ(parse.Next(), "end");
}

TEST(ParseOption, AbbreviatedLongNameIsReadAsShortOptions)
{
    Parse parse("--bo=7 5");
    EXPECT_EQ(parse.Next(), "b 5");
    EXPECT_EQ(parse.Next(), "end");

    Parse alone("--bo=7");
    EXPECT_EQ(alone.Next(), "? (none) letter b");
    EXPECT_EQ(alone.Next(), "? (none) letter o");
    EXPECT_EQ(alone.Next(), "? (none) letter =");
    EXPECT_EQ(alone.Next(), "? (none) letter 7");
    EXPECT_EQ(alone.Next(), "end");
}

TEST(ParseOption, LongOptionFlagReceivesValue)
{
    int verbose = 0;
    const LongOption table[] = {
        {"verbose", OPTION_NO_ARGUMENT, &verbose, 9},
        {nullptr, 0, nullptr, 0},
    };
    Parse parse("--verbose");
    EXPECT_EQ(ParseOption(parse.count, parse.vector, "", table, nullptr, OPTION_MODE_LONG), 0);
    EXPECT_EQ(verbose, 9);
}

TEST(ParseOption, UnknownOptionsAndLoneDash)
{
    Parse parse("-x -xb 5 - -p 1");
    EXPECT_EQ(parse.Next(), "? (none) letter x");
    EXPECT_EQ(parse.Next(), "? (none) letter x");
    EXPECT_EQ(parse.Next(), "b 5");
    EXPECT_EQ(parse.Next(), "? (none)");
    EXPECT_EQ(parse.Next(), "p 1");
    EXPECT_EQ(parse.Next(), "end");
}

TEST(ParseOption, GroupedLettersAndDashInsideGroup)
{
    Parse parse("-ab -a-b");
    EXPECT_EQ(parse.Next("ab"), "a (none)");
    EXPECT_EQ(parse.Next("ab"), "b (none)");
    EXPECT_EQ(parse.Next("ab"), "a (none)");
    EXPECT_EQ(parse.Next("ab"), "b (none)");
    EXPECT_EQ(parse.Next("ab"), "end");
}

TEST(ParseOption, OptionalArgumentSkipsDashWords)
{
    Parse parse("-o -o value -p");
    EXPECT_EQ(parse.Next("o::p"), "o (none)");
    EXPECT_EQ(parse.Next("o::p"), "o value");
    EXPECT_EQ(parse.Next("o::p"), "p (none)");
    EXPECT_EQ(parse.Next("o::p"), "end");
}

TEST(ParseOption, FirstWordWithoutDashEndsAtOnce)
{
    Parse parse("file -b 2");
    EXPECT_EQ(parse.Next(), "end");
    EXPECT_EQ(OptionIndex, 1);
}

TEST(ParseOption, ModesDecideWhereLongNamesCount)
{
    Parse longOnly("-board=4");
    EXPECT_EQ(longOnly.Next("b:p:", OPTION_MODE_LONG_ONLY), "b 4");
    EXPECT_EQ(longOnly.Next("b:p:", OPTION_MODE_LONG_ONLY), "end");

    Parse shortOnly("--board=4 9");
    // Mode 2 never reads long names: b takes the next word.
    EXPECT_EQ(shortOnly.Next("b:p:", OPTION_MODE_SHORT), "b 9");
}

TEST(ParseOptionNumber, RejectsMissingAndMalformedArguments)
{
    long value = 42;
    EXPECT_FALSE(ParseOptionNumber(nullptr, &value));
    EXPECT_FALSE(ParseOptionNumber("", &value));
    EXPECT_FALSE(ParseOptionNumber("x3", &value));
    EXPECT_FALSE(ParseOptionNumber("3x", &value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(ParseOptionNumber("-12", &value));
    EXPECT_EQ(value, -12);
}
