// The channel page: lamps, switches and the codes each command sends.
#include "sorvik_fixture.h"

#include "resource.h"
#include "tavro_api.h"
#include "test_support.h"

using namespace testing_support;

namespace {

const unsigned short kPlainExcluded = TAVRO_DIO_FIXED | TAVRO_DIO_STEPPER;

} // namespace

class ChannelTest : public SorvikTest {
protected:
    // Starts on a controller of `type` with AutoConfig off and shows the page
    // of the first channel with `with` and without `without`; false if none.
    bool ShowChannel(int type, unsigned short with, unsigned short without)
    {
        info = ControllerOfType(type);
        WriteSettings(0, info.id);
        if (!Start(""))
            return false;
        const int pages = TabCount();
        const int limit = pages * 16 < info.digitalChannels ? pages * 16 : info.digitalChannels;
        channel = FindChannel(info.id, limit, with, without);
        if (channel == 0)
            return false;
        position = (channel - 1) % 16;
        SelectTab((channel - 1) / 16);
        return true;
    }

    unsigned short Config() const { return TavroSim_GetDigitalConfig(info.id, static_cast<short>(channel)); }
    bool LampLit() const { return SendMessageA(GetDlgItem(Page(), IDC_LAMP_BASE + position), BM_GETCHECK, 0, 0) == 1; }

    TavroSimControllerInfo info = {};
    int channel = 0;
    int position = 0;
};

TEST_F(ChannelTest, InputLevelLightsTheLampOnly)
{
    ASSERT_TRUE(ShowChannel(1, 0, kPlainExcluded | TAVRO_DIO_OUTPUT));
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Inp");
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + position), "Pos");
    TavroSim_SetDigitalInput(info.id, static_cast<short>(channel), 1);
    EXPECT_TRUE(PumpUntil([&] { return LampLit(); }, 1000));
    EXPECT_FALSE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_SWITCH_BASE + position));
    TavroSim_SetDigitalInput(info.id, static_cast<short>(channel), 0);
    EXPECT_TRUE(PumpUntil([&] { return !LampLit(); }, 1000));
    EXPECT_FALSE(App()->dirty);
}

TEST_F(ChannelTest, ActiveLowOutputSwitchesAndReadsBack)
{
    ASSERT_TRUE(ShowChannel(1, 0, kPlainExcluded));
    Click(IDC_POLARITY_BUTTON_BASE + position);
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + position), "Neg");
    EXPECT_EQ(Config() & TAVRO_DIO_ACTIVE_HIGH, 0);

    Click(IDC_DIRECTION_BUTTON_BASE + position);  // sends 2 | 8
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Out");
    EXPECT_EQ(Config() & (TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH), TAVRO_DIO_OUTPUT);
    EXPECT_TRUE(Enabled(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_FALSE(Enabled(IDC_LATCH_SWITCH_BASE + position));
    EXPECT_FALSE(Checked(IDC_LATCH_SWITCH_BASE + position));

    Click(IDC_OUTPUT_SWITCH_BASE + position);
    EXPECT_TRUE(LampLit());
    EXPECT_EQ(TavroSim_GetDigitalOutput(info.id, static_cast<short>(channel)), 1);
    PumpFor(300);
    EXPECT_TRUE(LampLit());
    EXPECT_TRUE(Checked(IDC_OUTPUT_SWITCH_BASE + position));

    Click(IDC_OUTPUT_SWITCH_BASE + position);
    EXPECT_FALSE(LampLit());
    EXPECT_EQ(TavroSim_GetDigitalOutput(info.id, static_cast<short>(channel)), 0);
    EXPECT_TRUE(App()->dirty);
}

TEST_F(ChannelTest, OutputBackToInputClearsTheSwitch)
{
    ASSERT_TRUE(ShowChannel(1, 0, kPlainExcluded));
    Click(IDC_DIRECTION_BUTTON_BASE + position);
    Click(IDC_OUTPUT_SWITCH_BASE + position);
    ASSERT_TRUE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    Click(IDC_DIRECTION_BUTTON_BASE + position);  // sends 1 | 4
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Inp");
    EXPECT_EQ(Config() & (TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH), TAVRO_DIO_ACTIVE_HIGH);
    EXPECT_FALSE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_SWITCH_BASE + position));
}

TEST_F(ChannelTest, LatchOnAndOff)
{
    if (!ShowChannel(2, TAVRO_DIO_CAN_LATCH, kPlainExcluded | TAVRO_DIO_OUTPUT) || channel == 0) {
        Close();
        ASSERT_TRUE(ShowChannel(1, TAVRO_DIO_CAN_LATCH, TAVRO_DIO_STEPPER | TAVRO_DIO_OUTPUT));
    }
    EXPECT_TRUE(Enabled(IDC_LATCH_SWITCH_BASE + position));
    EXPECT_TRUE(Enabled(IDC_LATCH_LABEL_BASE + position));
    Click(IDC_LATCH_SWITCH_BASE + position);
    EXPECT_NE(Config() & TAVRO_DIO_LATCHED, 0);
    Click(IDC_LATCH_SWITCH_BASE + position);  // sends 1
    EXPECT_EQ(Config() & (TAVRO_DIO_LATCHED | TAVRO_DIO_OUTPUT), 0);
}

TEST_F(ChannelTest, FixedDirectionCannotBeSwitched)
{
    bool found = ShowChannel(1, TAVRO_DIO_FIXED, TAVRO_DIO_STEPPER);
    if (!found) {
        Close();
        found = ShowChannel(2, TAVRO_DIO_FIXED, TAVRO_DIO_STEPPER);
    }
    ASSERT_TRUE(found) << "no fixed-direction channel";
    EXPECT_FALSE(Enabled(IDC_DIRECTION_BUTTON_BASE + position));
    const unsigned short before = Config();
    Click(IDC_DIRECTION_BUTTON_BASE + position);
    EXPECT_EQ(Config(), before);
    EXPECT_FALSE(App()->dirty);
}

TEST_F(ChannelTest, StepperChannelIsReservedOnItsPageOnly)
{
    ASSERT_TRUE(ShowChannel(2, TAVRO_DIO_STEPPER, 0)) << "no stepper-reserved channel";
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Stppr");
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + position), "----");
    for (int base : {IDC_DIRECTION_BUTTON_BASE, IDC_POLARITY_BUTTON_BASE, IDC_LATCH_SWITCH_BASE,
                     IDC_OUTPUT_SWITCH_BASE, IDC_TEST_FRAME_BASE})
        EXPECT_FALSE(Enabled(base + position)) << base;
    const unsigned short before = Config();
    Click(IDC_POLARITY_BUTTON_BASE + position);
    EXPECT_EQ(Config(), before);

    // Another page whose channel at this position is ordinary.
    const int page = (channel - 1) / 16;
    for (int other = 0; other < TabCount(); ++other) {
        const unsigned short word = TavroSim_GetDigitalConfig(info.id, static_cast<short>(other * 16 + position + 1));
        if (other == page || (word & kPlainExcluded))
            continue;
        SelectTab(other);
        EXPECT_TRUE(Enabled(IDC_DIRECTION_BUTTON_BASE + position));
        EXPECT_TRUE(Enabled(IDC_POLARITY_BUTTON_BASE + position));
        EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Inp");
        return;
    }
    ADD_FAILURE() << "no ordinary channel at the stepper channel's position";
}
