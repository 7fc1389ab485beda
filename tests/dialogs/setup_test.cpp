// Axis set-up and scaling dialogs: read at open, written on OK only.
#include "dialog_test_env.h"

#include "resource.h"

#include <cstdlib>
#include <cstring>

using testing_support::DialogAnswerer;
using testing_support::ItemText;

namespace {

class AxisSetup : public OpenController {};

double ItemNumber(HWND dialog, int id)
{
    return atof(ItemText(dialog, id).c_str());
}

void SelectComboData(HWND dialog, int id, LPARAM data)
{
    HWND combo = GetDlgItem(dialog, id);
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i)
        if (SendMessageA(combo, CB_GETITEMDATA, i, 0) == data)
            SendMessageA(combo, CB_SETCURSEL, i, 0);
}

} // namespace

TEST_F(AxisSetup, ShowsTheAxisAndWritesChangesOnOk)
{
    TavroMotionConfig motion = Motion(handle_, 1);
    TavroFilterConfig filter = Filter(handle_, 1);
    double shownGain = -1, shownLimit = -1;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        shownGain = ItemNumber(dialog, IDC_AXIS_P_GAIN);
        shownLimit = ItemNumber(dialog, IDC_AXIS_INT_LIMIT);
        SetDlgItemTextA(dialog, IDC_AXIS_P_GAIN, "7.25");
        SetDlgItemTextA(dialog, IDC_AXIS_I_GAIN, "0.125");
        SetDlgItemTextA(dialog, IDC_AXIS_VELOCITY, " 1500 ");
        SetDlgItemTextA(dialog, IDC_AXIS_D_PERIOD, "0.002");
        SelectComboData(dialog, IDC_AXIS_PROFILE, TAVRO_PROFILE_PARABOLIC);
    });
    EXPECT_EQ(TavroDLG_ConfigureAxis(nullptr, handle_, 1, 0x801, nullptr), 0);
    EXPECT_DOUBLE_EQ(shownGain, motion.proportionalGain);
    EXPECT_NEAR(shownLimit, filter.integrationLimit, 1e-9 * (1 + filter.integrationLimit));

    TavroMotionConfig after = Motion(handle_, 1);
    TavroFilterConfig afterFilter = Filter(handle_, 1);
    EXPECT_DOUBLE_EQ(after.proportionalGain, 7.25);
    EXPECT_DOUBLE_EQ(after.velocity, 1500.0);
    EXPECT_DOUBLE_EQ(after.acceleration, motion.acceleration);
    EXPECT_DOUBLE_EQ(afterFilter.integralGain, 0.125);
    EXPECT_DOUBLE_EQ(afterFilter.derivativePeriod, 0.002);
    EXPECT_DOUBLE_EQ(afterFilter.derivativeGain, filter.derivativeGain);
    short profile = 0;
    EXPECT_EQ(TavroGetProfile(handle_, 1, &profile), TAVRO_OK);
    EXPECT_EQ(profile, TAVRO_PROFILE_PARABOLIC);
}

TEST_F(AxisSetup, CancelAndUnchangedOkWriteNothing)
{
    TavroMotionConfig motion = Motion(handle_, 2);
    TavroFilterConfig filter = Filter(handle_, 2);
    TavroSim_ResetCallCounts();
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_AXIS_P_GAIN, "99");
        SetDlgItemTextA(dialog, IDC_AXIS_MAX_ERROR, "12345");
    });
    answerer.Expect(IDOK);
    EXPECT_NE(TavroDLG_ConfigureAxis(nullptr, handle_, 2, 0x801, nullptr), 0);
    EXPECT_NE(TavroDLG_ConfigureAxis(nullptr, handle_, 2, 0x801, nullptr), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroSetMotionConfig"), 0);
    EXPECT_EQ(TavroSim_CallCount("TavroSetFilterConfig"), 0);
    TavroMotionConfig after = Motion(handle_, 2);
    TavroFilterConfig afterFilter = Filter(handle_, 2);
    EXPECT_EQ(memcmp(&after, &motion, sizeof motion), 0);
    EXPECT_EQ(memcmp(&afterFilter, &filter, sizeof filter), 0);
}

TEST_F(AxisSetup, TextThatIsNotANumberIsRefusedWithTheFieldSelected)
{
    TavroMotionConfig motion = Motion(handle_, 1);
    bool stillOpen = false, fieldFocused = false, allSelected = false;
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_AXIS_VELOCITY, "2000");
        SetDlgItemTextA(dialog, IDC_AXIS_ACCELERATION, "fast");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0); // the box below answers inside
        HWND field = GetDlgItem(dialog, IDC_AXIS_ACCELERATION);
        stillOpen = IsWindow(dialog) != FALSE;
        fieldFocused = GetFocus() == field;
        DWORD start = 0, end = 0;
        SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        allSelected = start == 0 && end == 4;
    });
    answerer.Expect(IDOK);
    EXPECT_NE(TavroDLG_ConfigureAxis(nullptr, handle_, 1, 0, nullptr), 0);
    ASSERT_EQ(answerer.Count(), 2u);
    EXPECT_NE(answerer.Seen()[1].text.find("number"), std::string::npos) << answerer.Seen()[1].text;
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(fieldFocused);
    EXPECT_TRUE(allSelected);
    TavroMotionConfig after = Motion(handle_, 1);
    EXPECT_EQ(memcmp(&after, &motion, sizeof motion), 0) << "nothing half-written";
}

TEST_F(AxisSetup, DeadHandleOrMissingAxisOpensNoDialog)
{
    DialogAnswerer answerer;
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    answerer.Expect(IDOK);
    EXPECT_LT(TavroDLG_ConfigureAxis(nullptr, 0, 1, 0, nullptr), 0);
    EXPECT_LT(TavroDLG_ConfigureAxis(nullptr, handle_, static_cast<short>(controller_.axisCount + 1), 0, nullptr), 0);
    EXPECT_LT(TavroDLG_Scaling(nullptr, -3, 1, 1, nullptr), 0);
    ASSERT_EQ(answerer.Count(), 3u);
    EXPECT_NE(answerer.Seen()[0].text.find("No controller is open."), std::string::npos);
    for (const auto& seen : answerer.Seen())
        EXPECT_TRUE(seen.caption == "Axis Setup" || seen.caption == "Axis Scaling") << seen.caption;
}

TEST_F(AxisSetup, ScalingWritesTheRecordOnOkAndRefusesAZeroPositionScale)
{
    TavroScale scale = {};
    ASSERT_EQ(TavroGetScale(handle_, 1, &scale), TAVRO_OK);
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_SCALE_POSITION, "0");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    answerer.Expect(IDOK); // the refusal
    answerer.Expect(IDOK, [](HWND dialog) { SetDlgItemTextA(dialog, IDC_SCALE_POSITION, "2500.5"); });
    EXPECT_NE(TavroDLG_Scaling(nullptr, handle_, 1, 1, nullptr), 0);
    TavroScale after = {};
    ASSERT_EQ(TavroGetScale(handle_, 1, &after), TAVRO_OK);
    EXPECT_EQ(memcmp(&after, &scale, sizeof scale), 0);

    EXPECT_EQ(TavroDLG_Scaling(nullptr, handle_, 1, 1, nullptr), 0);
    ASSERT_EQ(TavroGetScale(handle_, 1, &after), TAVRO_OK);
    EXPECT_DOUBLE_EQ(after.positionScale, 2500.5);
    EXPECT_DOUBLE_EQ(after.encoderScale, scale.encoderScale);
    EXPECT_EQ(answerer.Count(), 3u);
}
