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
const int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

LRESULT Get(HWND plot, UINT message, WPARAM wParam = 0)
{
    return SendMessageA(plot, message, wParam, 0);
}

void Command(HWND dialog, int id, int code = BN_CLICKED)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LRESULT ListSelection(HWND dialog)
{
    return SendDlgItemMessageA(dialog, kStyleList, CB_GETCURSEL, 0, 0);
}

// Counts the redraw requests that reach a subclassed plot window.
WNDPROC g_plotProc = nullptr;
int g_redraws = 0;

LRESULT CALLBACK CountRedraws(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_redraws += message == PLM_REDRAW ? 1 : 0;
    return CallWindowProcA(g_plotProc, window, message, wParam, lParam);
}

struct TwoPlots {
    HWND plots[2] = {MakePlot(), MakePlot()};
    ~TwoPlots() { DestroyWindow(plots[0]); DestroyWindow(plots[1]); }
    INT_PTR Configure() { return LumoConfigure(nullptr, plots, 2, 0, 0); }
};

TEST(ColorDialog, OkWithoutChangeSendsTheFirstWindowsColoursAndStyleToAll)
{
    TwoPlots windows;
    HWND first = windows.plots[0], second = windows.plots[1];
    SendMessageA(first, PLM_SETCOLORSTYLE, 0, 3);
    SendMessageA(first, PLM_SETLINECOLOR, 5, 0x00405060);
    g_plotProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(second, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountRedraws)));
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [](HWND dialog) {
        EXPECT_FALSE(IsItemEnabled(dialog, kApply));
        EXPECT_EQ(ListSelection(dialog), 3);
        EXPECT_EQ(ItemCheck(dialog, kUseStyle), static_cast<UINT>(BST_CHECKED));
        EXPECT_FALSE(IsItemEnabled(dialog, kGridButton));
    });
    EXPECT_EQ(windows.Configure(), 1);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Seen()[0].caption, "Color Setup");
    EXPECT_EQ(Get(second, PLM_GETCOLORSTYLE), 3);
    EXPECT_EQ(Get(second, PLM_GETLINECOLOR, 5), 0x00405060);
    EXPECT_EQ(Get(second, PLM_GETBACKCOLOR), 0x02002000);
    EXPECT_EQ(g_redraws, 1);
}

TEST(ColorDialog, ChosenSchemeIsSentAsItsRowAndCancelKeepsWhatApplySent)
{
    TwoPlots windows;
    DialogAnswerer answerer;
    answerer.Expect(IDCANCEL, [](HWND dialog) {
        SendDlgItemMessageA(dialog, kStyleList, CB_SETCURSEL, 4, 0);
        Command(dialog, kStyleList, CBN_SELCHANGE);
        EXPECT_TRUE(IsItemEnabled(dialog, kApply));
        Command(dialog, kApply);
        EXPECT_FALSE(IsItemEnabled(dialog, kApply));
        SendDlgItemMessageA(dialog, kStyleList, CB_SETCURSEL, 2, 0);
        Command(dialog, kStyleList, CBN_SELCHANGE);
    });
    EXPECT_EQ(windows.Configure(), 0);
    for (HWND plot : windows.plots) {
        EXPECT_EQ(Get(plot, PLM_GETCOLORSTYLE), 4);
        EXPECT_EQ(Get(plot, PLM_GETMARGINCOLOR), 0x02ff4f4f);
        EXPECT_EQ(Get(plot, PLM_GETLINECOLOR, 2), 0x02000080);
    }
}

TEST(ColorDialog, ColourButtonsMakeTheStyleCustomEvenWhenTheChooserIsCancelled)
{
    TwoPlots windows;
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [](HWND dialog) {
        Command(dialog, kSelectColors);
        EXPECT_EQ(ListSelection(dialog), CB_ERR);
        EXPECT_TRUE(IsItemEnabled(dialog, kPlot2Button));
        Command(dialog, kGridButton);
        EXPECT_FALSE(IsItemEnabled(dialog, kApply));
        Command(dialog, kPlot2Button);
        EXPECT_TRUE(IsItemEnabled(dialog, kApply));
    });
    answerer.Expect(IDCANCEL);
    answerer.Expect(IDOK, [](HWND chooser) {
        SetDlgItemInt(chooser, kChooserRed, 10, FALSE);
        SetDlgItemInt(chooser, kChooserGreen, 20, FALSE);
        SetDlgItemInt(chooser, kChooserBlue, 30, FALSE);
    });
    EXPECT_EQ(windows.Configure(), 1);
    EXPECT_EQ(answerer.Count(), 3u);
    for (HWND plot : windows.plots) {
        EXPECT_EQ(Get(plot, PLM_GETCOLORSTYLE), -1);
        EXPECT_EQ(Get(plot, PLM_GETGRIDCOLOR), 0x02008020);
        EXPECT_EQ(Get(plot, PLM_GETLINECOLOR, 1), RGB(10, 20, 30));
    }
}

TEST(ColorDialog, RadioButtonsAloneChangeNothingAndNoWindowsShowNoDialog)
{
    TwoPlots windows;
    SendMessageA(windows.plots[0], PLM_SETCOLORSTYLE, 0, static_cast<LPARAM>(-1));
    DialogAnswerer answerer;
    answerer.Expect(IDOK, [](HWND dialog) {
        EXPECT_EQ(ItemCheck(dialog, kSelectColors), static_cast<UINT>(BST_CHECKED));
        EXPECT_TRUE(IsItemEnabled(dialog, kGridButton));
        EXPECT_EQ(ListSelection(dialog), CB_ERR);
        Command(dialog, kUseStyle);
        EXPECT_TRUE(IsItemEnabled(dialog, kStyleList));
        EXPECT_FALSE(IsItemEnabled(dialog, kGridButton));
    });
    EXPECT_EQ(windows.Configure(), 1);
    EXPECT_EQ(Get(windows.plots[1], PLM_GETCOLORSTYLE), -1);
    EXPECT_EQ(LumoConfigure(nullptr, windows.plots, 0, 0, 0), -1);
    EXPECT_EQ(LumoConfigure(nullptr, nullptr, 1, 0, 0), -1);
    EXPECT_EQ(answerer.Count(), 1u);
}

} // namespace
