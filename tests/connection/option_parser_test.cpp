// Command-line splitting and getopt-style option parsing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "option_parser.h"

namespace {

const LongOption kPanelOptions[] = {
    {"board", OPTION_REQUIRED_ARGUMENT, nullptr, 'b'},
    {"page", OPTION_REQUIRED_ARGUMENT, nullptr, 'p'},
    {nullptr, 0, nullptr, 0},
};

// Every result of one whole parse: "b=3" (letter and argument), "b" (no
// argument), "?x" (error result and OptionLetter), "." at the end.
std::string ParseAll(const char* line, const char* options = "b:p:", int mode = OPTION_MODE_LONG)
{
    static char text[512];
    strncpy(text, line, sizeof text - 1);
    char* words[32];
    const int count = SplitCommandLine(text, words, 32);
    OptionVerbose = 0;
    OptionIndex = 1;
    std::string results;
    for (int result; (result = ParseOption(count, words, options, kPanelOptions, nullptr, mode)) != -1;) {
        results += static_cast<char>(result);
        if (OptionLetter)
            results += static_cast<char>(OptionLetter);
        if (OptionArgument)
            results += std::string("=") + OptionArgument;
        results += " ";
    }
    return results + "." + std::to_string(OptionIndex);
}

} // namespace

TEST(SplitCommandLine, QuotesBlanksAndCapacity)
{
    char text[] = "a \"b c\" d\"e \"f g   ";
    char* words[32];
    ASSERT_EQ(SplitCommandLine(text, words, 32), 5);
    EXPECT_STREQ(words[0], "program name");
    EXPECT_STREQ(words[1], "a");
    EXPECT_STREQ(words[2], "b c");
    EXPECT_STREQ(words[3], "d\"e");  // a quote inside a word is ordinary
    EXPECT_STREQ(words[4], "f g   ");  // an unclosed quote runs to the end

    char empty[] = "";
    EXPECT_EQ(SplitCommandLine(empty, words, 32), 1);
    EXPECT_EQ(SplitCommandLine(nullptr, words, 32), 1);

    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += "w" + std::to_string(i) + "\t";
    ASSERT_EQ(SplitCommandLine(&forty[0], words, 32), 32);
    EXPECT_STREQ(words[31], "w30");
}

TEST(ParseOption, PanelCommandLines)
{
    const struct { const char* line; const char* results; } cases[] = {
        {"-b 3", "b=3 .3"},
        {"-b3 -p 2", "b=-p .3"},                       // glued text dropped, next word taken
        {"-b3", "?b ?3 .2"},                           // missing argument, then the unread 3
        {"--board=7 --PAGE=2", "b=7 p=2 .3"},
        {"--Board 7", "b .2"},                         // no "=": no argument; 7 ends the options
        {"--bo=7 5", "b=5 .3"},                        // abbreviations are short options
        {"--bo=7", "?b ?o ?= ?7 .2"},
        {"-x", "?x .2"},
        {"-xb 5", "?x b=5 .3"},
        {"- -p 1", "? p=1 .4"},                        // a lone dash
        {"file -b 2", ".1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseAll(c.line), c.results) << c.line;
}

TEST(ParseOption, GroupsOptionalArgumentsErrorResultAndModes)
{
    EXPECT_EQ(ParseAll("-ab -a-b", "ab"), "a b a b .3");
    EXPECT_EQ(ParseAll("-o -o value -p", "o::p"), "o o=value p .5");
    EXPECT_EQ(ParseAll("-x -b", ":b:p:"), ":x :b .3");
    EXPECT_EQ(ParseAll("-board=4", "b:p:", OPTION_MODE_LONG_ONLY), "b=4 .2");
    EXPECT_EQ(ParseAll("--board=4 9", "b:p:", OPTION_MODE_SHORT), "b=9 .3");

    int flag = 0;
    const LongOption table[] = {{"verbose", OPTION_NO_ARGUMENT, &flag, 9}, {nullptr, 0, nullptr, 0}};
    char text[] = "--verbose";
    char* words[32];
    const int count = SplitCommandLine(text, words, 32);
    OptionIndex = 1;
    int index = -1;
    EXPECT_EQ(GetOptionLong(count, words, "", table, &index), 0);
    EXPECT_EQ(flag, 9);
    EXPECT_EQ(index, 0);
}

TEST(ParseOptionNumber, RejectsMissingAndMalformedArguments)
{
    long value = 42;
    for (const char* bad : {static_cast<const char*>(nullptr), "", "x3", "3x"})
        EXPECT_FALSE(ParseOptionNumber(bad, &value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(ParseOptionNumber("-12", &value));
    EXPECT_EQ(value, -12);
}
