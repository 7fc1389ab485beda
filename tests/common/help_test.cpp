// The shared help routine never starts the help viewer for a missing file.
#include <gtest/gtest.h>

#include "help.h"
#include "test_support.h"

using testing_support::DialogAnswerer;

TEST(ShowHelp, MissingFileIsNamedInsteadOfOpened)
{
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    EXPECT_FALSE(ShowHelp(nullptr, "nosuchprogram.hlp", HELP_FINDER, 0));
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find("nosuchprogram.hlp"), std::string::npos);
}

TEST(ShowHelp, QuitIsAlwaysSafe)
{
    DialogAnswerer answerer;
    ShowHelp(nullptr, "nosuchprogram.hlp", HELP_QUIT, 0);
    EXPECT_EQ(answerer.Count(), 0u);
}
