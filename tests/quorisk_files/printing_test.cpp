// The printed step-response page, rendered into an enhanced metafile through
// the routine the print job uses, and the job's cancel path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "printing.h"
#include "quorisk_test_env.h"
#include "test_support.h"

using namespace quorisk_test;
using testing_support::DialogAnswerer;

namespace {

struct DrawnText {
    int x;
    int y;
    std::string text;
};

struct Recording {
    int width = 0;
    int height = 0;
    std::vector<DrawnText> pageTexts; // before the first plot is placed
    std::vector<SIZE> extents;
    std::vector<POINT> origins;
};

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param)
{
    Recording* recording = reinterpret_cast<Recording*>(param);
    switch (record->iType) {
    case EMR_EXTTEXTOUTW:
    case EMR_EXTTEXTOUTA: {
        if (!recording->origins.empty()) {
            break;
        }
        const EMREXTTEXTOUTW* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const BYTE* base = reinterpret_cast<const BYTE*>(record) + text->emrtext.offString;
        std::string value;
        for (DWORD i = 0; i < text->emrtext.nChars; ++i) {
            value += record->iType == EMR_EXTTEXTOUTW
                         ? static_cast<char>(reinterpret_cast<const WCHAR*>(base)[i])
                         : static_cast<char>(base[i]);
        }
        recording->pageTexts.push_back(
            {text->emrtext.ptlReference.x, text->emrtext.ptlReference.y, value});
        break;
    }
    case EMR_SETVIEWPORTEXTEX:
        recording->extents.push_back(reinterpret_cast<const EMRSETVIEWPORTEXTEX*>(record)->szlExtent);
        break;
    case EMR_SETVIEWPORTORGEX: {
        const POINTL origin = reinterpret_cast<const EMRSETVIEWPORTORGEX*>(record)->ptlOrigin;
        recording->origins.push_back(POINT{origin.x, origin.y});
        break;
    }
    }
    return 1;
}

Recording RenderPage(TuningWindowData* data)
{
    Recording recording;
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    recording.width = GetDeviceCaps(dc, HORZRES);
    recording.height = GetDeviceCaps(dc, VERTRES);
    RenderStepResponsePage(dc, data);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    EnumEnhMetaFile(nullptr, metafile, CollectRecord, &recording, nullptr);
    DeleteEnhMetaFile(metafile);
    return recording;
}

const DrawnText* Find(const Recording& recording, const std::string& text)
{
    for (const DrawnText& drawn : recording.pageTexts) {
        if (drawn.text == text) {
            return &drawn;
        }
    }
    return nullptr;
}

// The value drawn on the row of `label`, "" when there is none.
std::string ValueOf(const Recording& recording, const std::string& label)
{
    const DrawnText* row = Find(recording, label);
    if (!row) {
        return "<no label>";
    }
    for (const DrawnText& drawn : recording.pageTexts) {
        if (drawn.y == row->y && drawn.x > row->x && !drawn.text.empty()) {
            return drawn.text;
        }
    }
    return "";
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeController();
        data_ = window_.Data();
        data_->controller = FAKE_HANDLE;
        data_->Axis = 2;
        data_->testDone = 1;
        data_->lastTest.Distance = 250.0;
        data_->lastTest.Delay = 0.01;
        data_->lastTest.RecordTime = 0.5;
        data_->lastTest.points = 513;
        data_->lastTest.period = 0.0005;
        data_->lastTest.Cycle = 1;
        data_->lastTest.Dwell = 0.2;
    }

    TuningWindow window_;
    TuningWindowData* data_ = nullptr;
};

TEST_F(PrintingTest, PageTextsSitInTheirColumns)
{
    g_fake.axes[2].motion.updateRate = 3;
    g_fake.axes[2].profile = 3;
    data_->actualSeries[1] = {0.0, 100.0, 12.5};
    Recording page = RenderPage(data_);
    int W = page.width;
    int H = page.height;

    const DrawnText* title = Find(page, "Step Response Plot");
    ASSERT_NE(nullptr, title);
    EXPECT_LT(title->y, H / 5);
    const DrawnText* left = Find(page, "Test Parameters");
    const DrawnText* right = Find(page, "Axis Configuration");
    ASSERT_NE(nullptr, left);
    ASSERT_NE(nullptr, right);
    EXPECT_EQ(static_cast<int>(0.2 * W), left->x);
    EXPECT_EQ(static_cast<int>(0.68 * H), left->y);
    EXPECT_EQ(static_cast<int>(0.55 * W), right->x);
    EXPECT_EQ(static_cast<int>(0.68 * H), right->y);

    const DrawnText* date = Find(page, "Test Date");
    const DrawnText* gain = Find(page, "Proportional Gain");
    const DrawnText* distance = Find(page, "Move Distance");
    ASSERT_TRUE(date && gain && distance);
    EXPECT_EQ(left->x, date->x);
    EXPECT_GT(date->y, left->y);
    EXPECT_EQ(date->y, gain->y); // both columns start on the same row
    EXPECT_EQ(right->x, gain->x);
    EXPECT_GT(distance->y, Find(page, "Axis Number")->y);

    EXPECT_EQ("Fake Type 3", ValueOf(page, "Controller Type"));
    EXPECT_EQ("Module 2", ValueOf(page, "Axis Type"));
    EXPECT_EQ("2 ", ValueOf(page, "Axis Number"));
    EXPECT_EQ("250       ", ValueOf(page, "Move Distance"));
    EXPECT_EQ("0.01       sec", ValueOf(page, "Delay Before Capture"));
    EXPECT_EQ("513", ValueOf(page, "    Capture Points"));
    EXPECT_EQ("yes", ValueOf(page, "Cycle Mode"));
    EXPECT_EQ("3         ", ValueOf(page, "Proportional Gain"));
    EXPECT_EQ("0.002      sec", ValueOf(page, "Derivative Sample"));
    EXPECT_EQ("Unknown", ValueOf(page, "Loop Rate"));
    EXPECT_EQ("12.5      ", ValueOf(page, "Final Position"));
    EXPECT_EQ("Unknown", ValueOf(page, "Profile"));
    EXPECT_EQ("1024      ", ValueOf(page, "Max. Following Error"));

    const DrawnText* footer = Find(page, "Korvane Servo Tuning Program Version 2.7.0.217");
    ASSERT_NE(nullptr, footer);
    EXPECT_GT(footer->y, H * 9 / 10);
    EXPECT_LT(footer->x, W / 2);
}

TEST_F(PrintingTest, LoopRateAndProfileNamesAndAnEmptySeries)
{
    g_fake.axes[2].motion.updateRate = 4;
    g_fake.axes[2].profile = 2;
    Recording page = RenderPage(data_);
    EXPECT_EQ("0.00025    sec (High)", ValueOf(page, "Loop Rate"));
    EXPECT_EQ("S-Curve", ValueOf(page, "Profile"));
    EXPECT_EQ("", ValueOf(page, "Final Position"));
}

TEST_F(PrintingTest, PlotsArePlacedInTheirBandsForEachStyle)
{
    struct Band {
        double height; // fraction of H
        double bottom; // fraction of H
    };
    const struct {
        int style;
        int torque;
        std::vector<Band> bands;
    } cases[] = {
        {PLOT_STYLE_SINGLE, 0, {{0.55, 0.65}}},
        {PLOT_STYLE_MULTI, 0, {{0.4, 0.45}, {0.2, 0.65}}},
        {PLOT_STYLE_MULTI, 1, {{0.3, 0.35}, {0.15, 0.5}, {0.15, 0.65}}},
        {PLOT_STYLE_SEPARATE, 0, {{0.2, 0.25}, {0.2, 0.45}, {0.2, 0.65}}},
    };
    for (const auto& c : cases) {
        data_->PlotStyle = c.style;
        data_->PlotTorque = static_cast<uint8_t>(c.torque);
        Recording page = RenderPage(data_);
        ASSERT_EQ(c.bands.size(), page.origins.size()) << c.style;
        ASSERT_EQ(c.bands.size(), page.extents.size()) << c.style;
        for (size_t i = 0; i < c.bands.size(); ++i) {
            EXPECT_NEAR(0.88 * page.width, page.extents[i].cx, 1.0);
            EXPECT_NEAR(-c.bands[i].height * page.height, page.extents[i].cy, 1.0);
            EXPECT_NEAR(0.05 * page.width, page.origins[i].x, 1.0);
            EXPECT_NEAR(c.bands[i].bottom * page.height, page.origins[i].y, 1.0);
        }
    }
}

TEST_F(PrintingTest, CancelledPrinterChoicePrintsNothingAndReturnsZero)
{
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL);
    answerer.Expect(IDCANCEL);
    EXPECT_EQ(0, PrintStepResponse(window_.Window()));
    EXPECT_GE(answerer.Count(), 1u);
    EXPECT_TRUE(IsWindowEnabled(window_.Window()));
}

TEST_F(PrintingTest, CancelDialogStopsTheJobAndGivesBackTheWindow)
{
    HWND owner = window_.Window();
    EnableWindow(owner, FALSE);
    HWND dialog = CreateDialogA(GetModuleHandleA(nullptr), "PrintDialog", owner, PrintCancelDlgProc);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("Printing", testing_support::WindowText(dialog));
    EXPECT_EQ("Cancel Printing", testing_support::ItemText(dialog, 1400));
    EXPECT_TRUE(PrintAbortProc(nullptr, 0));

    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(PrintAbortProc(nullptr, 0));
}

} // namespace
