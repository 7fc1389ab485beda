// The model check against drevalon.conf files written by the tests.
#include "connection_fixture.h"

#include "controller_traits.h"
#include "tavro_binding.h"
#include "test_support.h"

using testing_support::TempFolder;
using testing_support::WriteTextFile;

namespace {

const short kType1 = -1;  // names controller type 1 without asking a controller

int CheckWith(const std::string& conf, ControllerTraits* traits, short handle = kType1)
{
    TempFolder folder;
    const std::string path = folder.File("drevalon.conf");
    WriteTextFile(path, conf);
    return ReadControllerTraits(traits, handle, path.c_str());
}

} // namespace

TEST_F(ConnectionTest, ConfVersionComparesByteByByte)
{
    const struct { const char* version; int status; } cases[] = {
        {"1.2", CONF_OK}, {"1.3", CONF_OK}, {"2.0", CONF_OK}, {"10", CONF_OK},
        {"1.10", CONF_OUT_OF_DATE}, {"1.1", CONF_OUT_OF_DATE}, {"01.9", CONF_OUT_OF_DATE},
        {"", CONF_NOT_FOUND},
    };
    for (const auto& c : cases) {
        ControllerTraits traits;
        EXPECT_EQ(CheckWith(ConfText(c.version, TypeSection(1)), &traits), c.status) << c.version;
    }
}

TEST_F(ConnectionTest, ConfMissingFileOrTypeGivesItsStatus)
{
    ControllerTraits traits;
    EXPECT_EQ(ReadControllerTraits(&traits, kType1, "C:\\no\\such\\drevalon.conf"), CONF_NOT_FOUND);
    EXPECT_EQ(traits.controllerType, 1);

    EXPECT_EQ(CheckWith(ConfText("1.2", TypeSection(2)), &traits), CONF_NO_TYPE);
    // The other keys do not stand in for a missing TavroAPIType.
    EXPECT_EQ(CheckWith(ConfText("1.2", "[Type1]\r\nModular=true\r\nAnalogInpBits=12\r\n"), &traits),
              CONF_NO_TYPE);
    EXPECT_EQ(CheckWith(ConfText("1.2", "[Type1]\r\nTavroAPIType=2\r\n"), &traits), CONF_NO_TYPE);
}

TEST_F(ConnectionTest, ConfFailureKeepsEarlierModelValues)
{
    ControllerTraits traits;
    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1, "AnalogInpBits=12\r\nModular=no\r\n")), &traits),
              CONF_OK);
    EXPECT_EQ(CheckWith(ConfText("1.1", TypeSection(1)), &traits), CONF_OUT_OF_DATE);
    EXPECT_EQ(traits.inputBits, 12);
    EXPECT_FALSE(traits.modular);
}

TEST_F(ConnectionTest, ConfKeysAndDefaults)
{
    ControllerTraits traits;
    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1)), &traits), CONF_OK);
    EXPECT_TRUE(traits.modular);
    EXPECT_EQ(traits.inputBits, 8);
    EXPECT_DOUBLE_EQ(traits.inputMax, 5.0);
    EXPECT_DOUBLE_EQ(traits.inputMin, 0.0);
    EXPECT_EQ(traits.inputScale, 8);
    EXPECT_EQ(traits.outputBits, 8);
    EXPECT_DOUBLE_EQ(traits.outputMax, 5.0);
    EXPECT_DOUBLE_EQ(traits.outputMin, 0.0);
    EXPECT_EQ(traits.outputScale, 8);
    EXPECT_FALSE(traits.description.empty());

    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1,
                  "Modular=No\r\nAnalogInpMax=10\r\nAnalogInpMin=-10\r\nAnalogInpBits=12\r\n"
                  "AnalogInpScale=4\r\nAnalogOutBits=16\r\nAnalogOutMax=2.5\r\nAnalogOutMin=-2.5\r\n"
                  "AnalogOutScale=2\r\n")), &traits), CONF_OK);
    EXPECT_FALSE(traits.modular);
    EXPECT_EQ(traits.inputBits, 12);
    EXPECT_DOUBLE_EQ(traits.inputMax, 10.0);
    EXPECT_DOUBLE_EQ(traits.inputMin, -10.0);
    EXPECT_EQ(traits.inputScale, 4);
    EXPECT_EQ(traits.outputBits, 16);
    EXPECT_DOUBLE_EQ(traits.outputMax, 2.5);
    EXPECT_DOUBLE_EQ(traits.outputMin, -2.5);
    EXPECT_EQ(traits.outputScale, 2);
}

TEST_F(ConnectionTest, ConfMalformedValuesFallBackToDefaults)
{
    ControllerTraits traits;
    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1,
                  "AnalogInpMax=ten\r\nAnalogInpBits=40\r\nAnalogInpScale=x\r\n"
                  "AnalogOutBits=0\r\nAnalogOutMax=-3\r\nAnalogOutMin=4\r\nAnalogOutScale=12abc\r\n")),
                        &traits), CONF_OK);
    EXPECT_EQ(traits.inputBits, 8);
    EXPECT_DOUBLE_EQ(traits.inputMax, 5.0);
    EXPECT_EQ(traits.inputScale, 8);
    EXPECT_EQ(traits.outputBits, 8);
    EXPECT_DOUBLE_EQ(traits.outputMax, 5.0);
    EXPECT_DOUBLE_EQ(traits.outputMin, 0.0);
    EXPECT_EQ(traits.outputScale, 8);

    EXPECT_EQ(CheckWith(ConfText("1.2", "[Type1]\r\nTavroAPIType=one\r\n"), &traits), CONF_NO_TYPE);
}

TEST_F(ConnectionTest, ControllerResolutionOverridesTheFile)
{
    // The analog-only model reports its own input and output resolution.
    const short id = IdOfType(4);
    const short handle = g_tavro.TavroOpen(id, 2, "");
    ASSERT_GT(handle, 0);
    TavroControllerConfig config = {};
    config.size = sizeof config;
    ASSERT_EQ(g_tavro.TavroGetConfigurationEx(handle, &config), 0);
    ASSERT_NE(config.analogInBits, 0);

    ControllerTraits traits;
    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(4,
                  "AnalogInpBits=8\r\nAnalogInpMax=1\r\nAnalogInpMin=0\r\nAnalogInpScale=3\r\n")),
                        &traits, handle), CONF_OK);
    EXPECT_EQ(traits.controllerType, 4);
    EXPECT_EQ(traits.inputBits, config.analogInBits);
    EXPECT_DOUBLE_EQ(traits.inputMax, config.analogInMax);
    EXPECT_DOUBLE_EQ(traits.inputMin, config.analogInMin);
    EXPECT_EQ(traits.inputScale, 3);
    g_tavro.TavroClose(handle);
}

TEST(ConfErrorText, EveryStatusHasText)
{
    EXPECT_STREQ(ConfErrorText(0), "No error");
    EXPECT_STREQ(ConfErrorText(3), "Controller model not supported, try updating Drevalon.");
    EXPECT_STRNE(ConfErrorText(4), "");
    EXPECT_STRNE(ConfErrorText(-1), "");
}
