// The printed step-response page, rendered into an enhanced metafile through
// the routine the print job uses, and a cancelled printer choice.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "printing.h"
#include "quorisk_test_env.h"
#include "test_support.h"
#include "vistrel.h"

using namespace quorisk_test;

namespace {

struct DrawnText {
    int x;
    int y;
    std::string text;
    double height; // device height of the font it was drawn in; 0 for a stock font
};

// The y mapping and the font in effect, as far as the records tell.
struct DrawState {
    int mapMode = MM_TEXT;
    int viewportY = 1;
    int windowY = 1;
    int fontHeight = 0; // lfHeight of the selected font, 0 for a stock font
};

// The page's texts (drawn before the first plot is placed), the plots'
// texts, and each plot's viewport as extent x, extent y, origin x, origin y.
struct Page {
    int width = 0;
    int height = 0;
    std::vector<DrawnText> texts;
    std::vector<DrawnText> plotTexts;
    std::vector<std::vector<int>> viewports;
    DrawState state;
    std::vector<DrawState> saved;
    std::map<DWORD, int> fontHeights; // by object index
};

double DeviceHeight(const DrawState& state)
{
    double height = std::abs(state.fontHeight);
    if (state.mapMode == MM_TEXT || state.windowY == 0) {
        return height;
    }
    return height * std::abs(state.viewportY) / std::abs(state.windowY);
}

void CollectText(Page* page, const ENHMETARECORD* record)
{
    const EMREXTTEXTOUTW* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const WCHAR* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) +
                                                        text->emrtext.offString);
    DrawnText drawn = {text->emrtext.ptlReference.x, text->emrtext.ptlReference.y,
                       std::string(chars, chars + text->emrtext.nChars), DeviceHeight(page->state)};
    (page->viewports.empty() ? page->texts : page->plotTexts).push_back(drawn);
}

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param)
{
    Page* page = reinterpret_cast<Page*>(param);
    DrawState& state = page->state;
    switch (record->iType) {
    case EMR_EXTTEXTOUTW:
        CollectText(page, record);
        break;
    case EMR_SETVIEWPORTEXTEX: {
        SIZEL extent = reinterpret_cast<const EMRSETVIEWPORTEXTEX*>(record)->szlExtent;
        page->viewports.push_back({extent.cx, extent.cy});
        state.viewportY = extent.cy;
        break;
    }
    case EMR_SETVIEWPORTORGEX:
        if (!page->viewports.empty()) {
            POINTL origin = reinterpret_cast<const EMRSETVIEWPORTORGEX*>(record)->ptlOrigin;
            page->viewports.back().insert(page->viewports.back().end(), {origin.x, origin.y});
        }
        break;
    case EMR_SETWINDOWEXTEX:
        state.windowY = reinterpret_cast<const EMRSETWINDOWEXTEX*>(record)->szlExtent.cy;
        break;
    case EMR_SETMAPMODE:
        state.mapMode = static_cast<int>(reinterpret_cast<const EMRSETMAPMODE*>(record)->iMode);
        break;
    case EMR_EXTCREATEFONTINDIRECTW: {
        const EMREXTCREATEFONTINDIRECTW* font =
            reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        page->fontHeights[font->ihFont] = font->elfw.elfLogFont.lfHeight;
        break;
    }
    case EMR_SELECTOBJECT: {
        DWORD object = reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject;
        if (page->fontHeights.count(object)) {
            state.fontHeight = page->fontHeights[object];
        } else if (object & 0x80000000) {
            int stock = static_cast<int>(object & 0x7FFFFFFF);
            if (stock >= OEM_FIXED_FONT && stock <= DEFAULT_GUI_FONT) {
                state.fontHeight = 0;
            }
        }
        break;
    }
    case EMR_DELETEOBJECT: // its index may next hold a pen
        page->fontHeights.erase(reinterpret_cast<const EMRDELETEOBJECT*>(record)->ihObject);
        break;
    case EMR_SAVEDC:
        page->saved.push_back(state);
        break;
    case EMR_RESTOREDC:
        if (!page->saved.empty()) {
            state = page->saved.back();
            page->saved.pop_back();
        }
        break;
    }
    return 1;
}

Page RenderPage(TuningWindowData* data)
{
    Page page;
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    // A printer's DC starts with its default font selected; a new metafile's has none.
    SelectObject(dc, GetStockObject(DEVICE_DEFAULT_FONT));
    page.width = GetDeviceCaps(dc, HORZRES);
    page.height = GetDeviceCaps(dc, VERTRES);
    RenderStepResponsePage(dc, data);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    EnumEnhMetaFile(nullptr, metafile, CollectRecord, &page, nullptr);
    DeleteEnhMetaFile(metafile);
    return page;
}

const DrawnText* Find(const Page& page, const std::string& text)
{
    for (const DrawnText& drawn : page.texts) {
        if (drawn.text == text) {
            return &drawn;
        }
    }
    return nullptr;
}

// The text drawn right of `label` on its row, "" when there is none.
std::string ValueOf(const Page& page, const std::string& label)
{
    const DrawnText* row = Find(page, label);
    for (const DrawnText& drawn : page.texts) {
        if (row && drawn.y == row->y && drawn.x > row->x && !drawn.text.empty()) {
            return drawn.text;
        }
    }
    return row ? "" : "<no label>";
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallFakeController();
        data_->controller = FAKE_HANDLE;
        data_->Axis = 2;
        data_->testDone = 1;
        data_->lastTest = {1, 1, 0.01, 250.0, 0.2, 513, 0.0, 0.0005, 0.5, 0, 1, 0};
        KeepSeriesTiming(data_, 2, data_->lastTest);
        // The last test ran on another axis with its own timing and step.
        data_->lastTest.Delay = 0.05;
        data_->lastTest.points = 801;
        data_->lastTest.Distance = 500.0;
        data_->lastTest.Cycle = 0;
    }

    TuningWindow window_;
    TuningWindowData* data_ = window_.Data();
};

TEST_F(PrintingTest, PageTextsSitInTheirColumns)
{
    g_fake.axes[2].motion.updateRate = 3;
    g_fake.axes[2].profile = 3;
    data_->actualSeries[1] = {0.0, 100.0, 12.5};
    Page page = RenderPage(data_);
    const DrawnText* title = Find(page, "Step Response Plot");
    const DrawnText* left = Find(page, "Test Parameters");
    const DrawnText* right = Find(page, "Axis Configuration");
    const DrawnText* date = Find(page, "Test Date");
    const DrawnText* gain = Find(page, "Proportional Gain");
    const DrawnText* footer = Find(page, "Korvane Servo Tuning Program Version 2.7.0.217");
    ASSERT_TRUE(title && left && right && date && gain && footer);
    EXPECT_LT(title->y, page.height / 5);
    EXPECT_EQ(static_cast<int>(0.2 * page.width), left->x);
    EXPECT_EQ(static_cast<int>(0.55 * page.width), right->x);
    EXPECT_EQ(static_cast<int>(0.68 * page.height), left->y);
    EXPECT_EQ(left->y, right->y);
    EXPECT_EQ(left->x, date->x);
    EXPECT_EQ(right->x, gain->x);
    EXPECT_GT(date->y, left->y);
    EXPECT_EQ(date->y, gain->y);
    EXPECT_GT(footer->y, page.height * 9 / 10);

    const std::pair<const char*, const char*> rows[] = {
        {"Controller Type", "Fake Type 3"},     {"Axis Type", "Module 2"},
        {"Axis Number", "2 "},                  {"Move Distance", "250       "},
        {"Delay Before Capture", "0.01       sec"}, {"    Capture Points", "513"},
        {"Cycle Mode", "yes"},                  {"Proportional Gain", "3         "},
        {"Derivative Sample", "0.002      sec"}, {"Loop Rate", "Unknown"},
        {"Final Position", "12.5      "},       {"Profile", "Unknown"},
        {"Max. Following Error", "1024      "},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(row.second, ValueOf(page, row.first)) << row.first;
    }

    g_fake.axes[2].motion.updateRate = 4;
    g_fake.axes[2].profile = 2;
    data_->actualSeries[1].clear(); // the axis changed after the test
    page = RenderPage(data_);
    EXPECT_EQ("0.00025    sec (High)", ValueOf(page, "Loop Rate"));
    EXPECT_EQ("S-Curve", ValueOf(page, "Profile"));
    EXPECT_EQ("", ValueOf(page, "Final Position"));
}

TEST_F(PrintingTest, PlotsArePlacedInTheirBandsForEachStyle)
{
    // Per plot: band height and bottom edge, fractions of the page height.
    const struct {
        int style;
        int torque;
        std::vector<std::pair<double, double>> bands;
    } cases[] = {
        {PLOT_STYLE_SINGLE, 0, {{0.55, 0.65}}},
        {PLOT_STYLE_MULTI, 0, {{0.4, 0.45}, {0.2, 0.65}}},
        {PLOT_STYLE_MULTI, 1, {{0.3, 0.35}, {0.15, 0.5}, {0.15, 0.65}}},
        {PLOT_STYLE_SEPARATE, 0, {{0.2, 0.25}, {0.2, 0.45}, {0.2, 0.65}}},
    };
    for (const auto& c : cases) {
        data_->PlotStyle = c.style;
        data_->PlotTorque = static_cast<uint8_t>(c.torque);
        Page page = RenderPage(data_);
        ASSERT_EQ(c.bands.size(), page.viewports.size()) << c.style;
        for (size_t i = 0; i < c.bands.size(); ++i) {
            const std::vector<int>& v = page.viewports[i];
            ASSERT_EQ(4u, v.size());
            EXPECT_NEAR(0.88 * page.width, v[0], 1.0);
            EXPECT_NEAR(-c.bands[i].first * page.height, v[1], 1.0);
            EXPECT_NEAR(0.05 * page.width, v[2], 1.0);
            EXPECT_NEAR(c.bands[i].second * page.height, v[3], 1.0);
        }
    }
}

// Titles and a labelled trace in every plot window, as the program gives them.
void LabelPlots(TuningWindowData* data)
{
    const double samples[3] = {0.0, 50.0, 100.0};
    for (HWND plot : data->plotWindows) {
        SendMessageA(plot, PLM_SETXTITLE, 0, reinterpret_cast<LPARAM>("Time (ms)"));
        SendMessageA(plot, PLM_SETYTITLE, 0, reinterpret_cast<LPARAM>("Distance"));
        SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(0, 3), reinterpret_cast<LPARAM>(samples));
        SendMessageA(plot, PLM_SETTRACELABEL, 0, reinterpret_cast<LPARAM>("Actual"));
    }
}

// The plots size their texts from the font they find selected: on the page
// every tick label, title and legend line is about as high as the body text,
// in the tall band of "Multi" and in the short bands of "Separate" alike.
TEST_F(PrintingTest, PlotTextsAreAsHighAsTheBodyTextInEveryBand)
{
    LabelPlots(data_);
    data_->PlotActual = 1;
    data_->PlotError = 1;
    const struct {
        int style;
        int torque;
    } cases[] = {{PLOT_STYLE_SINGLE, 0}, {PLOT_STYLE_MULTI, 0}, {PLOT_STYLE_MULTI, 1},
                 {PLOT_STYLE_SEPARATE, 1}};
    for (const auto& c : cases) {
        data_->PlotStyle = c.style;
        data_->PlotTorque = static_cast<uint8_t>(c.torque);
        Page page = RenderPage(data_);
        const DrawnText* body = Find(page, "Test Date");
        ASSERT_TRUE(body);
        ASSERT_GT(body->height, 0.0);
        size_t titles = 0;
        for (const DrawnText& text : page.plotTexts) {
            if (text.text.empty()) {
                continue; // a fill
            }
            EXPECT_NEAR(body->height, text.height, 1.5) << c.style << " " << text.text;
            titles += text.text == "Time (ms)" ? 1 : 0;
        }
        EXPECT_EQ(page.viewports.size(), titles) << c.style;
        EXPECT_GT(titles, 0u);
    }
}

TEST_F(PrintingTest, CancelledPrinterChoicePrintsNothing)
{
    testing_support::DialogAnswerer answerer; // cancels the choice (or the no-printer box)
    EXPECT_EQ(0, PrintStepResponse(window_.Window()));
    EXPECT_GE(answerer.Count(), 1u);
    EXPECT_TRUE(IsWindowEnabled(window_.Window()));
}

// Presses OK in the printer choice only, so that the job's own cancel
// dialog stays up while the page prints.
LRESULT CALLBACK ChoosePrinter(int code, WPARAM wParam, LPARAM lParam)
{
    char caption[32] = "";
    if (code == HCBT_ACTIVATE) {
        GetWindowTextA(reinterpret_cast<HWND>(wParam), caption, sizeof(caption));
        if (strcmp(caption, "Print") == 0) {
            PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The job's cancel path without a printer: the abort procedure lets the job
// go on until the dialog's "Cancel" is pressed, takes the press among the
// messages it handles, and from then on stops the job.
TEST_F(PrintingTest, CancelButtonStopsTheJobAtTheNextAbortCheck)
{
    HWND owner = window_.Window();
    EnableWindow(owner, FALSE); // as while a job runs
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
    HWND dialog = CreateDialogA(instance, "PrintDialog", owner, PrintCancelDlgProc);
    ASSERT_NE(nullptr, dialog);
    char caption[32] = "";
    GetWindowTextA(dialog, caption, sizeof(caption));
    EXPECT_STREQ("Printing", caption);
    EXPECT_TRUE(GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);

    EXPECT_TRUE(PrintAbortProc(nullptr, 0));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(IsWindowEnabled(owner));

    PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    EXPECT_FALSE(PrintAbortProc(nullptr, 0));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(PrintAbortProc(nullptr, 0));

    // The next job's dialog starts uncancelled.
    dialog = CreateDialogA(instance, "PrintDialog", owner, PrintCancelDlgProc);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(PrintAbortProc(nullptr, 0));
    DestroyWindow(dialog);
}

// Where a printer is installed (for example a PDF queue): the job runs to
// its end. A press of the cancel dialog's button stops it with the user's
// cancel when the driver asks the abort procedure after the press; a driver
// that asks only while the job starts may finish the page first.
TEST_F(PrintingTest, PrintsOrCancelsTheJobWhereAPrinterExists)
{
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) {
        GTEST_SKIP() << "no printer installed";
    }
    HHOOK hook = SetWindowsHookExA(WH_CBT, ChoosePrinter, nullptr, GetCurrentThreadId());
    EXPECT_EQ(0, PrintStepResponse(window_.Window()));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Printing"));
    EXPECT_TRUE(IsWindowEnabled(window_.Window()));

    testing_support::DialogAnswerer answerer;
    answerer.Expect(IDOK);     // the printer choice
    answerer.Expect(IDCANCEL); // "Cancel Printing"
    int result = PrintStepResponse(window_.Window());
    EXPECT_TRUE(result == 0 || result == ERROR_CANCELLED) << result;
    if (result == ERROR_CANCELLED) {
        ASSERT_EQ(2u, answerer.Count());
        EXPECT_EQ("Printing", answerer.Seen()[1].caption);
    }
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Printing"));
    EXPECT_TRUE(IsWindowEnabled(window_.Window()));
}

} // namespace
