// Window and dialog routines against real windows.
#include <gtest/gtest.h>

#include "test_support.h"
#include "window_utils.h"

#include <string>

using testing_support::ItemText;

namespace {

HWND MakePopup(HWND owner, int x, int y, int width, int height)
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, width, height, owner, nullptr, nullptr,
                           nullptr);
}

RECT RectOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

TEST(CenterWindow, CentresOverOwner)
{
    HWND owner = MakePopup(nullptr, 100, 100, 400, 300);
    HWND window = MakePopup(owner, 0, 0, 101, 51);
    CenterWindow(window);
    RECT r = RectOf(window);
    EXPECT_EQ(r.left, 100 + (400 - 101) / 2);
    EXPECT_EQ(r.top, 100 + (300 - 51) / 2);
    EXPECT_EQ(r.right - r.left, 101);
    DestroyWindow(window);
    DestroyWindow(owner);
}

TEST(CenterWindow, LargerThanOwnerAtLeftEdgeGoesToOrigin)
{
    HWND owner = MakePopup(nullptr, 0, 200, 100, 100);
    HWND window = MakePopup(owner, 50, 50, 300, 50);
    CenterWindow(window);
    RECT r = RectOf(window);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    DestroyWindow(window);
    DestroyWindow(owner);
}

TEST(CreateChildWindow, SetsDefaultGuiFont)
{
    HWND parent = MakePopup(nullptr, 0, 0, 200, 200);
    HWND child = CreateChildWindow(0, "EDIT", "x", WS_CHILD, 0, 0, 50, 20, parent,
                                   reinterpret_cast<HMENU>(5), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(CreateChildWindow(0, "NoSuchClassHere", "", WS_CHILD, 0, 0, 1, 1, parent, nullptr,
                                nullptr, nullptr),
              nullptr);
    DestroyWindow(parent);
}

TEST(DialogItemDouble, FormatsWithPrecisionAndReadsBack)
{
    HWND parent = MakePopup(nullptr, 0, 0, 200, 200);
    CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, parent, reinterpret_cast<HMENU>(7),
                    nullptr, nullptr);
    SetDlgItemDouble(parent, 7, 2.5, 3);
    EXPECT_EQ(ItemText(parent, 7), "2.500");
    SetDlgItemDouble(parent, 7, 2.5, -1);
    EXPECT_EQ(ItemText(parent, 7), "2.500000");
    EXPECT_EQ(GetDlgItemDouble(parent, 7), 2.5);
    SetDlgItemTextA(parent, 7, "abc");
    EXPECT_EQ(GetDlgItemDouble(parent, 7), 0.0);
    // A value too long for the 40-character buffer is cut, never overrun.
    SetDlgItemDouble(parent, 7, 1e300, 2);
    EXPECT_EQ(ItemText(parent, 7).size(), 39u);
    DestroyWindow(parent);
}

} // namespace
