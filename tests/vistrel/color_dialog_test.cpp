// The "Color Setup" dialog over real plot windows, answered in process.
#include <gtest/gtest.h>

#include "plot_fixture.h"
#include "test_support.h"

using testing_support::DialogAnswerer;
using testing_support::IsItemEnabled;
using testing_support::ItemCheck;

namespace {

const int kApply = 10, kUseStyle = 1000, kSelectColors = 1001, kStyleList = 1002;
const int kGridButton = 1004, kPlot2Button = 1009;
// Red, green and blue boxes of the colour chooser.
const int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

LRESULT Get(HWND plot, UINT message, WPARAM wParam = 0)
{
    return SendMessageA(plot, message, wParam, 0);
}

void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ChooseStyle(HWND dialog, int style)
{
    SendDlgItemMessageA(dialog, kStyleList, CB_SETCURSEL, style, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kStyleList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kStyleList)));
}

INT_PTR Configure(HWND* plots, int count)
{
    return LumoConfigure(nullptr, plots, count, 0, 0);
}

// Counts the redraw requests that reach a subclassed plot window.
WNDPROC g_plotProc = nullptr;
int g_redraws = 0;

LRESULT CALLBACK CountRedraws(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PLM_REDRAW)
        ++g_redraws;
    return CallWindowProcA(g_plotProc, window, message, wParam, lParam);
}

struct TwoPlots {
    HWND plots[2];
    TwoPlots() { plots[0] = MakePlot(); plots[1] = MakePlot(); }
    ~TwoPlots() { DestroyWindow(plots[0]); DestroyWindow(plots[1]); }
};

TEST(ColorDialog, OkWithoutChangeSendsTheFirstWindowsColoursToAll)
{
    TwoPlots windows;
    HWND first = windows.plots[0], second = windows.plots[1];
    SendMessageA(first, PLM_SETCOLORSTYLE, 0, 3);
    SendMessageA(first, PLM_SETBACKCOLOR, 0, 0x00102030);
    SendMessageA(first, PLM_SETLINECOLOR, 5, 0x00405060);
    g_plotProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountRedraws)));
    DialogAnswerer answerer;
    bool applyEnabled = true;
    LRESULT selected = -2;
    answerer.Expect(IDOK, [&](HWND dialog) {
        applyEnabled = IsItemEnabled(dialog, kApply);
        selected = SendDlgItemMessageA(dialog, kStyleList, CB_GETCURSEL, 0, 0);
        EXPECT_EQ(ItemCheck(dialog, kUseStyle), static_cast<UINT>(BST_CHECKED));
        EXPECT_FALSE(IsItemEnabled(dialog, kGridButton));
    });
    EXPECT_EQ(Configure(windows.plots, 2), 1);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Color Setup");
    EXPECT_FALSE(applyEnabled);
    EXPECT_EQ(selected, 3);
    EXPECT_EQ(Get(second, PLM_GETCOLORSTYLE), 3);
    EXPECT_EQ(Get(second, PLM_GETBACKCOLOR), 0x00102030);
    EXPECT_EQ(Get(second, PLM_GETLINECOLOR, 5), 0x00405060);
    EXPECT_EQ(Get(second, PLM_GETGRIDCOLOR), 0x02008020);
    EXPECT_EQ(g_redraws, 1);
}

TEST(ColorDialog, ChosenSchemeIsSentAsItsRowAndCancelKeepsWhatApplySent)
{
    TwoPlots windows;
    DialogAnswerer answerer;
    bool applyAfterChoice = false, applyAfterApply = true;
    answerer.Expect(IDCANCEL, [&](HWND dialog) {
        ChooseStyle(dialog, 4);
        applyAfterChoice = IsItemEnabled(dialog, kApply);
        Click(dialog, kApply);
        applyAfterApply = IsItemEnabled(dialog, kApply);
        ChooseStyle(dialog, 2);
    });
    EXPECT_EQ(Configure(windows.plots, 2), 0);
    EXPECT_TRUE(applyAfterChoice);
    EXPECT_FALSE(applyAfterApply);
    for (HWND plot : windows.plots) {
        EXPECT_EQ(Get(plot, PLM_GETCOLORSTYLE), 4);
        EXPECT_EQ(Get(plot, PLM_GETGRIDCOLOR), 0x02000080);
        EXPECT_EQ(Get(plot, PLM_GETMARGINCOLOR), 0x02ff4f4f);
        EXPECT_EQ(Get(plot, PLM_GETBACKCOLOR), 0x02c0f0ff);
        EXPECT_EQ(Get(plot, PLM_GETTEXTCOLOR), 0x02c0f0ff);
        EXPECT_EQ(Get(plot, PLM_GETLINECOLOR, 2), 0x02000080);
        EXPECT_EQ(Get(plot, PLM_GETLINECOLOR, 7), 0x0200ffff);
    }
}

TEST(ColorDialog, ColourButtonsMakeTheStyleCustomEvenWhenTheChooserIsCancelled)
{
    TwoPlots windows;
    DialogAnswerer answerer;
    bool applyAfterCancel = true, applyAfterChoice = false;
    answerer.Expect(IDOK, [&](HWND dialog) {
        Click(dialog, kSelectColors);
        EXPECT_EQ(SendDlgItemMessageA(dialog, kStyleList, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_TRUE(IsItemEnabled(dialog, kPlot2Button));
        EXPECT_FALSE(IsItemEnabled(dialog, kStyleList));
        Click(dialog, kGridButton);
        applyAfterCancel = IsItemEnabled(dialog, kApply);
        Click(dialog, kPlot2Button);
        applyAfterChoice = IsItemEnabled(dialog, kApply);
    });
    answerer.Expect(IDCANCEL);
    answerer.Expect(IDOK, [](HWND chooser) {
        SetDlgItemInt(chooser, kChooserRed, 10, FALSE);
        SetDlgItemInt(chooser, kChooserGreen, 20, FALSE);
        SetDlgItemInt(chooser, kChooserBlue, 30, FALSE);
    });
    EXPECT_EQ(Configure(windows.plots, 2), 1);
    EXPECT_EQ(answerer.Count(), 3u);
    EXPECT_FALSE(applyAfterCancel);
    EXPECT_TRUE(applyAfterChoice);
    for (HWND plot : windows.plots) {
        EXPECT_EQ(Get(plot, PLM_GETCOLORSTYLE), -1);
        EXPECT_EQ(Get(plot, PLM_GETGRIDCOLOR), 0x02008020);
        EXPECT_EQ(Get(plot, PLM_GETLINECOLOR, 1), RGB(10, 20, 30));
    }
}

TEST(ColorDialog, RadioButtonsAloneChangeNothingAndCustomWindowsOpenOnSelectColors)
{
    TwoPlots windows;
    SendMessageA(windows.plots[0], PLM_SETCOLORSTYLE, 0, static_cast<LPARAM>(-1));
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [&](HWND dialog) {
        EXPECT_EQ(ItemCheck(dialog, kSelectColors), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(ItemCheck(dialog, kUseStyle), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_TRUE(IsItemEnabled(dialog, kGridButton));
        EXPECT_EQ(SendDlgItemMessageA(dialog, kStyleList, CB_GETCURSEL, 0, 0), CB_ERR);
        Click(dialog, kUseStyle);
        EXPECT_TRUE(IsItemEnabled(dialog, kStyleList));
        EXPECT_FALSE(IsItemEnabled(dialog, kGridButton));
        EXPECT_FALSE(IsItemEnabled(dialog, kApply));
    });
    EXPECT_EQ(Configure(windows.plots, 2), 1);
    EXPECT_EQ(Get(windows.plots[1], PLM_GETCOLORSTYLE), -1);
}

TEST(ColorDialog, NoWindowsShowNoDialog)
{
    HWND plot = MakePlot();
    DialogAnswerer answerer;
    EXPECT_EQ(Configure(&plot, 0), -1);
    EXPECT_EQ(Configure(nullptr, 1), -1);
    EXPECT_EQ(answerer.Count(), 0u);
    DestroyWindow(plot);
}

} // namespace
