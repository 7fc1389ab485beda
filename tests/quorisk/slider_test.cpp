// The gain sliders: reload, live writes through the access functions,
// zoom and span checks.
#include "tuning_fixture.h"

#include "gain_slider.h"
#include "resource.h"

#include <commctrl.h>

using testing_support::ItemText;

namespace {

HWND Slider(HWND panel, int id)
{
    return GetDlgItem(panel, id);
}

int ThumbPosition(HWND slider)
{
    return static_cast<int>(SendDlgItemMessageA(slider, IDC_TRACKBAR, TBM_GETPOS, 0, 0));
}

void MoveThumb(HWND slider, int position)
{
    SendDlgItemMessageA(slider, IDC_TRACKBAR, TBM_SETPOS, TRUE, position);
    SendMessageA(slider, WM_VSCROLL, TB_THUMBTRACK,
                 reinterpret_cast<LPARAM>(GetDlgItem(slider, IDC_TRACKBAR)));
}

void Click(HWND slider, int id)
{
    SendMessageA(slider, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(slider, id)));
}

} // namespace

TEST_F(TuningWindowTest, ReloadShowsTheControllerGain)
{
    Fake().flags = TAVRO_CTRL_FRACTIONAL_GAINS; // full scale 20
    Fake().axes[1].gain = 5.0;
    Fake().axes[1].filter.integralGain = 2.0;
    Fake().axes[1].filter.derivativeGain = 30.0; // 150 %: beyond the slider
    Start("");
    HWND p = Slider(Panel(), IDC_SLIDER_P);
    EXPECT_DOUBLE_EQ(Data()->propGain.percent, 25.0);
    EXPECT_EQ(ThumbPosition(p), 750);
    EXPECT_EQ(ItemText(p, IDC_GAIN_READOUT), " 5.0000");
    EXPECT_EQ(ItemText(p, IDC_UPPER_LABEL), "100%");
    EXPECT_EQ(ItemText(p, IDC_MIDDLE_LABEL), " 50%");
    EXPECT_EQ(ItemText(p, IDC_LOWER_LABEL), "0.00%");
    EXPECT_DOUBLE_EQ(Data()->intGain.percent, 10.0);

    Data()->derGain.lowerPercent = 20.0;
    Data()->derGain.upperPercent = 40.0;
    EXPECT_EQ(SendMessageA(Slider(Panel(), IDC_SLIDER_D), SLM_RELOADGAIN, 0, 0), 1);
    EXPECT_EQ(Data()->derGain.lowerPercent, 0.0);
    EXPECT_EQ(Data()->derGain.upperPercent, 100.0);
    EXPECT_EQ(ThumbPosition(Slider(Panel(), IDC_SLIDER_D)), 0);
}

TEST_F(TuningWindowTest, MovingTheThumbWritesTheGain)
{
    Fake().flags = TAVRO_CTRL_FRACTIONAL_GAINS;
    Start("");
    Data()->Gantry = 1;
    Data()->GantryShare = 1;
    Data()->modified = 0;
    Fake().log.clear();
    MoveThumb(Slider(Panel(), IDC_SLIDER_P), 600); // 40 % of 20
    EXPECT_EQ(LoggedCalls({"TavroSetGain"}),
              (std::vector<std::string>{"TavroSetGain(1, 1, 8)", "TavroSetGain(1, 2, 8)"}));
    EXPECT_EQ(Data()->modified, 1);
    EXPECT_EQ(ItemText(Slider(Panel(), IDC_SLIDER_P), IDC_GAIN_READOUT), " 8.0000");

    // I and D change their gain in the filter record and copy the whole
    // record to the partner.
    Fake().axes[1].filter.derivativeGain = 3.0;
    Fake().log.clear();
    MoveThumb(Slider(Panel(), IDC_SLIDER_I), 900);
    EXPECT_EQ(LoggedCalls({"TavroSetFilterConfig"}),
              (std::vector<std::string>{"TavroSetFilterConfig(1, 1, D=3, I=2)",
                                        "TavroSetFilterConfig(1, 2, D=3, I=2)"}));

    // Without sharing only the test axis changes; a filter record that
    // cannot be read is not written back.
    Data()->GantryShare = 0;
    Fake().axes[1].failFilterRead = true;
    Fake().log.clear();
    MoveThumb(Slider(Panel(), IDC_SLIDER_D), 500);
    MoveThumb(Slider(Panel(), IDC_SLIDER_P), 500);
    EXPECT_TRUE(LoggedCalls({"TavroSetFilterConfig"}).empty());
    EXPECT_EQ(LoggedCalls({"TavroSetGain"}), std::vector<std::string>{"TavroSetGain(1, 1, 10)"});
}

TEST_F(TuningWindowTest, ZoomNarrowsAndWidensTheSpan)
{
    Fake().flags = TAVRO_CTRL_FRACTIONAL_GAINS;
    Fake().axes[1].gain = 5.0; // 25 %
    Start("");
    HWND p = Slider(Panel(), IDC_SLIDER_P);
    GainSlider& g = Data()->propGain;
    Click(p, IDC_ZOOM_IN);
    EXPECT_EQ(std::make_pair(g.lowerPercent, g.upperPercent), std::make_pair(0.0, 50.0));
    Click(p, IDC_ZOOM_IN);
    EXPECT_EQ(std::make_pair(g.lowerPercent, g.upperPercent), std::make_pair(12.5, 37.5));
    EXPECT_EQ(ThumbPosition(p), 500);
    EXPECT_EQ(g.percent, 25.0);

    g.percent = 95.0;
    g.lowerPercent = 0.0;
    g.upperPercent = 100.0;
    Click(p, IDC_ZOOM_IN);
    EXPECT_EQ(std::make_pair(g.lowerPercent, g.upperPercent), std::make_pair(50.0, 100.0));

    g.percent = 30.0;
    g.lowerPercent = 20.0;
    g.upperPercent = 40.0;
    Click(p, IDC_ZOOM_OUT);
    EXPECT_EQ(std::make_pair(g.lowerPercent, g.upperPercent), std::make_pair(10.0, 50.0));
    g.percent = 5.0;
    g.lowerPercent = 0.0;
    g.upperPercent = 20.0;
    Click(p, IDC_ZOOM_OUT);
    EXPECT_EQ(std::make_pair(g.lowerPercent, g.upperPercent), std::make_pair(0.0, 40.0));

    // Zooming never writes a gain.
    Fake().log.clear();
    Click(p, IDC_ZOOM_IN);
    EXPECT_TRUE(LoggedCalls({"TavroSetGain"}).empty());

    // Equal or inverted limits are reset before the thumb is placed.
    g.percent = 30.0;
    g.lowerPercent = 30.0;
    g.upperPercent = 30.0;
    Click(p, IDC_ZOOM_OUT);
    EXPECT_EQ(std::make_pair(g.lowerPercent, g.upperPercent), std::make_pair(0.0, 100.0));
    EXPECT_EQ(ThumbPosition(p), 700);
}

TEST_F(TuningWindowTest, AxisChangeReloadsTheSliders)
{
    Start("");
    Fake().axes[2].gain = 32767.0 / 2;
    SendMessageA(Panel(), WM_COMMAND, IDC_AXIS_BUTTON, 0);
    EXPECT_EQ(Data()->Axis, 2);
    EXPECT_DOUBLE_EQ(Data()->propGain.percent, 50.0);
    EXPECT_EQ(ThumbPosition(Slider(Panel(), IDC_SLIDER_P)), 500);
}
