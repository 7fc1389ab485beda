// The channel page: lamps, switches and the codes each command sends.
#include "sorvik_fixture.h"

#include "resource.h"
#include "tavro_api.h"
#include "test_support.h"

using namespace testing_support;

namespace {

const unsigned short kReserved = TAVRO_DIO_FIXED | TAVRO_DIO_STEPPER;

} // namespace

class ChannelTest : public SorvikTest {
protected:
    // Starts on a controller of `type` and shows the page of its first
    // channel with the bits `with` and without `without`.
    void ShowChannel(int type, unsigned short with, unsigned short without)
    {
        info = SimulatedControllerOfType(type);
        WriteSettings(0, info.id);
        ASSERT_NE(Start(""), nullptr);
        channel = FindChannel(info.id, TabCount() * 16, with, without);
        ASSERT_NE(channel, 0) << "no such channel";
        position = (channel - 1) % 16;
        SelectTab((channel - 1) / 16);
    }

    unsigned short Config() const { return TavroSim_GetDigitalConfig(info.id, static_cast<short>(channel)); }
    bool Lit() const { return Checked(IDC_LAMP_BASE + position); }
    int Output() const { return TavroSim_GetDigitalOutput(info.id, static_cast<short>(channel)); }

    TavroSimControllerInfo info = {};
    int channel = 0;
    int position = 0;
};

TEST_F(ChannelTest, InputLevelLightsTheLampOnly)
{
    ShowChannel(1, 0, kReserved | TAVRO_DIO_OUTPUT);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Inp");
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + position), "Pos");
    TavroSim_SetDigitalInput(info.id, static_cast<short>(channel), 1);
    EXPECT_TRUE(PumpUntil([&] { return Lit(); }, 1000));
    EXPECT_FALSE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_SWITCH_BASE + position));
    TavroSim_SetDigitalInput(info.id, static_cast<short>(channel), 0);
    EXPECT_TRUE(PumpUntil([&] { return !Lit(); }, 1000));
    EXPECT_FALSE(App()->dirty);
}

TEST_F(ChannelTest, ActiveLowOutputSwitchesAndBackToInput)
{
    ShowChannel(1, TAVRO_DIO_CAN_LATCH, kReserved);
    Click(IDC_POLARITY_BUTTON_BASE + position);
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + position), "Neg");
    EXPECT_EQ(Config() & TAVRO_DIO_ACTIVE_HIGH, 0);

    Click(IDC_DIRECTION_BUTTON_BASE + position);  // 2 | 8
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Out");
    EXPECT_EQ(Config() & (TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH), TAVRO_DIO_OUTPUT);
    EXPECT_TRUE(Enabled(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_FALSE(Enabled(IDC_LATCH_SWITCH_BASE + position));

    Click(IDC_OUTPUT_SWITCH_BASE + position);
    EXPECT_TRUE(Lit());  // at once, before the next tick
    EXPECT_EQ(Output(), 1);
    PumpFor(300);
    EXPECT_TRUE(Lit());
    EXPECT_TRUE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_TRUE(App()->dirty);

    Click(IDC_POLARITY_BUTTON_BASE + position);
    Click(IDC_DIRECTION_BUTTON_BASE + position);  // 1 | 4
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Inp");
    EXPECT_EQ(Config() & (TAVRO_DIO_OUTPUT | TAVRO_DIO_ACTIVE_HIGH), TAVRO_DIO_ACTIVE_HIGH);
    EXPECT_FALSE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_FALSE(Enabled(IDC_OUTPUT_SWITCH_BASE + position));
    EXPECT_TRUE(Enabled(IDC_LATCH_SWITCH_BASE + position));
}

TEST_F(ChannelTest, LatchOnAndOff)
{
    ShowChannel(2, TAVRO_DIO_CAN_LATCH, kReserved | TAVRO_DIO_OUTPUT);
    EXPECT_TRUE(Enabled(IDC_LATCH_LABEL_BASE + position));
    Click(IDC_LATCH_SWITCH_BASE + position);
    EXPECT_NE(Config() & TAVRO_DIO_LATCHED, 0);
    Click(IDC_LATCH_SWITCH_BASE + position);  // 1
    EXPECT_EQ(Config() & (TAVRO_DIO_LATCHED | TAVRO_DIO_OUTPUT), 0);
}

TEST_F(ChannelTest, FixedDirectionCannotBeSwitched)
{
    ShowChannel(2, TAVRO_DIO_FIXED, TAVRO_DIO_STEPPER);
    EXPECT_FALSE(Enabled(IDC_DIRECTION_BUTTON_BASE + position));
    const unsigned short before = Config();
    Click(IDC_DIRECTION_BUTTON_BASE + position);
    EXPECT_EQ(Config(), before);
    EXPECT_FALSE(App()->dirty);
}

TEST_F(ChannelTest, StepperChannelIsReservedOnItsPageOnly)
{
    ShowChannel(2, TAVRO_DIO_STEPPER, 0);
    const int stepperPage = (channel - 1) / 16;
    int ordinaryPage = -1;
    for (int page = 0; page < TabCount() && ordinaryPage < 0; ++page) {
        if (!(TavroSim_GetDigitalConfig(info.id, static_cast<short>(page * 16 + position + 1)) & kReserved))
            ordinaryPage = page;
    }
    ASSERT_GE(ordinaryPage, 0) << "no ordinary channel at the stepper channel's position";

    // An output switched on at the same position of another page.
    SelectTab(ordinaryPage);
    EXPECT_TRUE(Enabled(IDC_DIRECTION_BUTTON_BASE + position));
    Click(IDC_DIRECTION_BUTTON_BASE + position);
    Click(IDC_OUTPUT_SWITCH_BASE + position);
    ASSERT_TRUE(Lit());

    // The stepper channel shows nothing of it and takes no command.
    SelectTab(stepperPage);
    PumpFor(300);
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Stppr");
    EXPECT_EQ(ItemText(IDC_POLARITY_READOUT_BASE + position), "----");
    for (int base : {IDC_DIRECTION_BUTTON_BASE, IDC_POLARITY_BUTTON_BASE, IDC_LATCH_SWITCH_BASE,
                     IDC_OUTPUT_SWITCH_BASE, IDC_TEST_FRAME_BASE})
        EXPECT_FALSE(Enabled(base + position)) << base;
    EXPECT_FALSE(Lit());
    EXPECT_FALSE(Checked(IDC_OUTPUT_SWITCH_BASE + position));
    const unsigned short before = Config();
    Click(IDC_POLARITY_BUTTON_BASE + position);
    EXPECT_EQ(Config(), before);

    // Back on the other page the position works again.
    SelectTab(ordinaryPage);
    EXPECT_TRUE(Enabled(IDC_DIRECTION_BUTTON_BASE + position));
    EXPECT_TRUE(Enabled(IDC_POLARITY_BUTTON_BASE + position));
    EXPECT_EQ(ItemText(IDC_DIRECTION_READOUT_BASE + position), "Out");
    EXPECT_TRUE(PumpUntil([&] { return Lit(); }, 1000));
}
