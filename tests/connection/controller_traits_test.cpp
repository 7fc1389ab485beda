// The model check against drevalon.conf files written by the tests.
#include "connection_fixture.h"

#include "controller_traits.h"
#include "tavro_binding.h"
#include "test_support.h"

using testing_support::TempFolder;
using testing_support::WriteTextFile;

namespace {

// Checks controller type 1 (named directly, no controller asked) or the
// controller of `handle` against a conf file holding `conf`.
int CheckWith(const std::string& conf, ControllerTraits* traits, short handle = -1)
{
    TempFolder folder;
    const std::string path = folder.File("drevalon.conf");
    WriteTextFile(path, conf);
    return ReadControllerTraits(traits, handle, path.c_str());
}

} // namespace

TEST_F(ConnectionTest, ConfStatuses)
{
    const struct { std::string conf; int status; } cases[] = {
        {ConfText("1.2", TypeSection(1)), CONF_OK}, {ConfText("1.3", TypeSection(1)), CONF_OK},
        {ConfText("2.0", TypeSection(1)), CONF_OK}, {ConfText("10", TypeSection(1)), CONF_OK},
        // Byte order, not numeric order.
        {ConfText("1.10", TypeSection(1)), CONF_OUT_OF_DATE}, {ConfText("1.1", TypeSection(1)), CONF_OUT_OF_DATE},
        {ConfText("01.9", TypeSection(1)), CONF_OUT_OF_DATE},
        {ConfText("", TypeSection(1)), CONF_NOT_FOUND}, {"", CONF_NOT_FOUND},
        {ConfText("1.2", TypeSection(2)), CONF_NO_TYPE},
        // The other keys do not stand in for a missing or wrong TavroAPIType.
        {ConfText("1.2", "[Type1]\r\nModular=true\r\nAnalogInpBits=12\r\n"), CONF_NO_TYPE},
        {ConfText("1.2", "[Type1]\r\nTavroAPIType=2\r\n"), CONF_NO_TYPE},
        {ConfText("1.2", "[Type1]\r\nTavroAPIType=one\r\n"), CONF_NO_TYPE},
        // The type is the value's leading number, as GetPrivateProfileIntA reads it.
        {ConfText("1.2", "[Type1]\r\nTavroAPIType=1 ; modular servo\r\n"), CONF_OK},
        {ConfText("1.2", "[Type1]\r\nTavroAPIType= +1.0\r\n"), CONF_OK},
        {ConfText("1.2", "[Type1]\r\nTavroAPIType=12 ; modular servo\r\n"), CONF_NO_TYPE},
    };
    for (const auto& c : cases) {
        ControllerTraits traits;
        EXPECT_EQ(CheckWith(c.conf, &traits), c.status) << c.conf;
        EXPECT_EQ(traits.controllerType, 1);
        EXPECT_FALSE(traits.description.empty());
    }
    EXPECT_STREQ(ConfErrorText(3), "Controller model not supported, try updating Drevalon.");
    EXPECT_STRNE(ConfErrorText(4), "");
}

TEST_F(ConnectionTest, ConfKeysDefaultsAndMalformedValues)
{
    ControllerTraits traits;
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
    EXPECT_DOUBLE_EQ(traits.outputMin, -2.5);
    EXPECT_EQ(traits.outputScale, 2);

    // A failed check keeps the earlier model.
    EXPECT_EQ(CheckWith(ConfText("1.1", TypeSection(1)), &traits), CONF_OUT_OF_DATE);
    EXPECT_EQ(traits.inputBits, 12);

    // Numbers are read up to the first character that is not part of them.
    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1,
                  "AnalogInpMax=10 V\r\nAnalogInpMin=-10 ; volts\r\nAnalogInpBits=12 bits\r\n"
                  "AnalogInpScale=4x\r\nAnalogOutBits=+16\r\nAnalogOutMax=2.5e0V\r\n"
                  "AnalogOutMin=-2.5\t; volts\r\nAnalogOutScale=2 ; per count\r\n")), &traits), CONF_OK);
    EXPECT_EQ(traits.inputBits, 12);
    EXPECT_DOUBLE_EQ(traits.inputMax, 10.0);
    EXPECT_DOUBLE_EQ(traits.inputMin, -10.0);
    EXPECT_EQ(traits.inputScale, 4);
    EXPECT_EQ(traits.outputBits, 16);
    EXPECT_DOUBLE_EQ(traits.outputMax, 2.5);
    EXPECT_DOUBLE_EQ(traits.outputMin, -2.5);
    EXPECT_EQ(traits.outputScale, 2);

    // A value that is not finite gives its own default.
    ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1,
                  "AnalogInpMax=inf\r\nAnalogInpMin=-1\r\nAnalogOutMax=1\r\nAnalogOutMin=-infinity\r\n")),
                        &traits), CONF_OK);
    EXPECT_DOUBLE_EQ(traits.inputMax, 5.0);
    EXPECT_DOUBLE_EQ(traits.inputMin, -1.0);
    EXPECT_DOUBLE_EQ(traits.outputMax, 1.0);
    EXPECT_DOUBLE_EQ(traits.outputMin, 0.0);

    // Missing keys, and values that are no numbers, absurd or not finite,
    // take the defaults.
    for (const char* keys : {"", "Modular=\r\nAnalogInpMax=ten\r\nAnalogInpBits=40\r\nAnalogInpScale=x\r\n"
                                 "AnalogOutBits=0\r\nAnalogOutMax=-3\r\nAnalogOutMin=4\r\nAnalogOutScale=-12\r\n",
                             "AnalogInpMax=1e999\r\nAnalogInpMin=nan\r\nAnalogInpBits=-8\r\n"
                                 "AnalogOutMax=nan\r\nAnalogOutBits=31\r\n"}) {
        ASSERT_EQ(CheckWith(ConfText("1.2", TypeSection(1, keys)), &traits), CONF_OK) << keys;
        EXPECT_TRUE(traits.modular);
        EXPECT_EQ(traits.inputBits, 8);
        EXPECT_DOUBLE_EQ(traits.inputMax, 5.0);
        EXPECT_DOUBLE_EQ(traits.inputMin, 0.0);
        EXPECT_EQ(traits.inputScale, 8);
        EXPECT_EQ(traits.outputBits, 8);
        EXPECT_DOUBLE_EQ(traits.outputMax, 5.0);
        EXPECT_DOUBLE_EQ(traits.outputMin, 0.0);
        EXPECT_EQ(traits.outputScale, 8);
    }
}

TEST_F(ConnectionTest, ControllerResolutionOverridesTheFile)
{
    // The analog-only model reports its own input and output resolution.
    const short handle = g_tavro.TavroOpen(SimulatedControllerOfType(4).id, 2, "");
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
    EXPECT_EQ(traits.outputBits, config.analogOutBits);
    g_tavro.TavroClose(handle);
}
