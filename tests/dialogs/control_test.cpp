// The lamp and readout classes and the description texts. The library is
// loaded by LoadLibraryA with no call made into it, as a program that only
// creates the controls does.
#include <gtest/gtest.h>

#include "tavro_api.h"
#include "test_support.h"

#include <cstring>
#include <vector>

namespace {

const int kLampId = 101;
const int kReadoutId = 102;

HMODULE LoadDialogs()
{
    HMODULE module = LoadLibraryA("tavrodlg64.dll");
    EXPECT_NE(module, nullptr);
    return module;
}

HWND MakeParent()
{
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = DefWindowProcA;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    parentClass.lpszClassName = "DialogControlTestParent";
    RegisterClassA(&parentClass);
    return CreateWindowExA(0, "DialogControlTestParent", "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           400, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The control drawn by WM_PRINTCLIENT into a 32-bit DIB: pixels as 0x00RRGGBB.
std::vector<DWORD> Render(HWND window, int* width, int* height)
{
    RECT client;
    GetClientRect(window, &client);
    *width = client.right;
    *height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + *width * *height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

DWORD AsPixel(COLORREF color)
{
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

// Colour at the centre of the lamp's light, which sits at the left.
DWORD LightPixel(HWND lamp)
{
    int width = 0, height = 0;
    std::vector<DWORD> pixels = Render(lamp, &width, &height);
    return pixels[static_cast<size_t>(height / 2 * width + height / 2)] & 0x00FFFFFF;
}

bool HasPixel(const std::vector<DWORD>& pixels, DWORD pixel)
{
    for (DWORD p : pixels)
        if ((p & 0x00FFFFFF) == pixel)
            return true;
    return false;
}

} // namespace

TEST(DialogControls, BothClassesExistAsSoonAsTheLibraryIsLoaded)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    ASSERT_FALSE(GetClassInfoExA(nullptr, TAVRO_LED_CLASS, &info));
    HMODULE module = LoadDialogs();
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(GetClassInfoExA(nullptr, TAVRO_LED_CLASS, &info));
    EXPECT_TRUE(GetClassInfoExA(nullptr, TAVRO_READOUT_CLASS, &info));
    // Created from this executable's instance, as a program's own window would.
    HWND parent = MakeParent();
    HWND lamp = CreateWindowExA(0, TAVRO_LED_CLASS, "On", WS_CHILD | WS_VISIBLE, 5, 5, 50, 14, parent,
                                reinterpret_cast<HMENU>(kLampId), GetModuleHandleA(nullptr), nullptr);
    HWND readout = CreateWindowExA(WS_EX_CLIENTEDGE, TAVRO_READOUT_CLASS, "0", WS_CHILD | WS_VISIBLE | 2, 5, 30,
                                   210, 34, parent, reinterpret_cast<HMENU>(kReadoutId), GetModuleHandleA(nullptr),
                                   nullptr);
    EXPECT_NE(lamp, nullptr);
    EXPECT_NE(readout, nullptr);
    DestroyWindow(parent);
}

TEST(DialogControls, LampAnswersStatesAndColour)
{
    ASSERT_NE(LoadDialogs(), nullptr);
    HWND parent = MakeParent();
    HWND lamp = CreateWindowExA(0, TAVRO_LED_CLASS, "Error", WS_CHILD | WS_VISIBLE, 5, 5, 50, 14, parent,
                                reinterpret_cast<HMENU>(kLampId), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(parent, kLampId), 0u);

    COLORREF red = 0x020000E0; // PALETTERGB(224, 0, 0)
    SendMessageA(lamp, LEDM_SETCOLOR, 0, red);
    DWORD dark = LightPixel(lamp);

    CheckDlgButton(parent, kLampId, 1);
    EXPECT_EQ(IsDlgButtonChecked(parent, kLampId), 1u);
    EXPECT_EQ(LightPixel(lamp), AsPixel(RGB(224, 0, 0)));
    EXPECT_NE(dark, LightPixel(lamp));

    CheckDlgButton(parent, kLampId, 2);
    EXPECT_EQ(IsDlgButtonChecked(parent, kLampId), 2u);
    CheckDlgButton(parent, kLampId, 0);
    EXPECT_EQ(IsDlgButtonChecked(parent, kLampId), 0u);
    EXPECT_EQ(LightPixel(lamp), dark);

    // The previous lit colour comes back, its palette flag dropped.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(lamp, LEDM_SETCOLOR, 0, RGB(0, 0, 255))), RGB(224, 0, 0));
    DestroyWindow(parent);
}

TEST(DialogControls, LampCreationDataAndTextBesideTheLight)
{
    ASSERT_NE(LoadDialogs(), nullptr);
    HWND parent = MakeParent();
    DWORD litColor = 0xFFFF;
    HWND bare = CreateWindowExA(0, TAVRO_LED_CLASS, nullptr, WS_CHILD | WS_VISIBLE, 5, 5, 16, 16, parent,
                                reinterpret_cast<HMENU>(kLampId), GetModuleHandleA(nullptr), &litColor);
    ASSERT_NE(bare, nullptr);
    CheckDlgButton(parent, kLampId, 1);
    int width = 0, height = 0;
    std::vector<DWORD> pixels = Render(bare, &width, &height);
    EXPECT_EQ(pixels[static_cast<size_t>(8 * width + 8)] & 0x00FFFFFF, AsPixel(litColor));

    HWND labelled = CreateWindowExA(0, TAVRO_LED_CLASS, "Limit", WS_CHILD | WS_VISIBLE, 5, 40, 50, 14, parent,
                                    reinterpret_cast<HMENU>(kLampId + 1), GetModuleHandleA(nullptr), nullptr);
    pixels = Render(labelled, &width, &height);
    // Text pixels lie to the right of the light, in the button text colour.
    bool textRight = false;
    DWORD text = AsPixel(GetSysColor(COLOR_BTNTEXT));
    for (int y = 0; y < height; ++y)
        for (int x = 20; x < width; ++x)
            textRight = textRight || (pixels[static_cast<size_t>(y * width + x)] & 0x00FFFFFF) == text;
    EXPECT_TRUE(textRight);
    DestroyWindow(parent);
}

TEST(DialogControls, ReadoutShowsTextInItsColourWithoutRepaintingTheSameText)
{
    ASSERT_NE(LoadDialogs(), nullptr);
    HWND parent = MakeParent();
    HWND large = CreateWindowExA(WS_EX_CLIENTEDGE, TAVRO_READOUT_CLASS, "0", WS_CHILD | WS_VISIBLE | 2, 5, 5,
                                 210, 34, parent, reinterpret_cast<HMENU>(kReadoutId), GetModuleHandleA(nullptr),
                                 nullptr);
    HWND small = CreateWindowExA(0, TAVRO_READOUT_CLASS, "Inp", WS_CHILD | WS_VISIBLE | 1, 5, 50, 32, 16,
                                 parent, reinterpret_cast<HMENU>(kReadoutId + 1), GetModuleHandleA(nullptr),
                                 nullptr);
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);

    SetDlgItemTextA(parent, kReadoutId, "-12345.678");
    EXPECT_EQ(testing_support::ItemText(parent, kReadoutId), "-12345.678");
    COLORREF olive = 0x02008080; // PALETTERGB(128, 128, 0)
    SendMessageA(large, RDM_SETCOLOR, 1, olive);
    int width = 0, height = 0;
    std::vector<DWORD> pixels = Render(large, &width, &height);
    EXPECT_TRUE(HasPixel(pixels, AsPixel(RGB(128, 128, 0))));
    EXPECT_FALSE(HasPixel(pixels, AsPixel(RGB(0, 255, 0))));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(large, RDM_SETCOLOR, 1, RGB(0, 255, 0))), RGB(128, 128, 0));
    pixels = Render(large, &width, &height);
    EXPECT_TRUE(HasPixel(pixels, AsPixel(RGB(0, 255, 0))));

    // The large figure is taller than the small text.
    auto inkRows = [](HWND window) {
        int w = 0, h = 0;
        std::vector<DWORD> p = Render(window, &w, &h);
        int top = h, bottom = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((p[static_cast<size_t>(y * w + x)] & 0x00FFFFFF) != 0) {
                    top = y < top ? y : top;
                    bottom = y > bottom ? y : bottom;
                }
        return bottom - top + 1;
    };
    SetDlgItemTextA(parent, kReadoutId + 1, "8");
    SetDlgItemTextA(parent, kReadoutId, "8");
    EXPECT_GT(inkRows(large), inkRows(small) + 4);

    // Erasing is left to the paint through a bitmap, and a repeated text
    // leaves nothing to repaint.
    testing_support::PumpFor(50);
    UpdateWindow(large);
    HDC dc = GetDC(large);
    EXPECT_NE(SendMessageA(large, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
    ReleaseDC(large, dc);
    SetDlgItemTextA(parent, kReadoutId, "8");
    EXPECT_FALSE(GetUpdateRect(large, nullptr, FALSE));
    SetDlgItemTextA(parent, kReadoutId, "9");
    EXPECT_TRUE(GetUpdateRect(large, nullptr, FALSE));
    DestroyWindow(parent);
}

namespace {

// Columns holding ink (any pixel other than the black background).
void InkColumns(HWND window, int* first, int* last, int* width)
{
    int height = 0;
    std::vector<DWORD> pixels = Render(window, width, &height);
    *first = *width;
    *last = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < *width; ++x)
            if ((pixels[static_cast<size_t>(y * *width + x)] & 0x00FFFFFF) != 0) {
                *first = x < *first ? x : *first;
                *last = x > *last ? x : *last;
            }
}

} // namespace

TEST(DialogControls, ReadoutTextWiderThanTheReadoutIsDrawnSmallerNotCutOff)
{
    ASSERT_NE(LoadDialogs(), nullptr);
    HWND parent = MakeParent();
    struct Case {
        DWORD style;
        int width, height;
        const char* text;
    };
    // A gain slider's readout at full scale, an analog channel, a position.
    const Case cases[] = {{1, 56, 16, "32767.0000"},
                          {1, 56, 16, "-32767.0000"},
                          {1, 120, 20, "-10.0000 V  (-32768)"},
                          {2, 100, 24, "-123456789.0000"},
                          {2, 210, 34, "-2147483647.000"}};
    for (const Case& c : cases) {
        HWND readout = CreateWindowExA(0, TAVRO_READOUT_CLASS, c.text, WS_CHILD | WS_VISIBLE | c.style, 5, 5,
                                       c.width, c.height, parent, reinterpret_cast<HMENU>(kReadoutId),
                                       GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(readout, nullptr);
        int first = 0, last = 0, width = 0;
        InkColumns(readout, &first, &last, &width);
        EXPECT_GT(first, 0) << c.text << " is cut off at the left";
        EXPECT_LT(last, width - 1) << c.text << " is cut off at the right";
        EXPECT_GT(last - first, width / 2) << c.text << " is drawn too small";
        DestroyWindow(readout);
    }

    // A text that fits keeps the readout's own size.
    HWND readout = CreateWindowExA(0, TAVRO_READOUT_CLASS, "8", WS_CHILD | WS_VISIBLE | 1, 5, 5, 56, 16, parent,
                                   reinterpret_cast<HMENU>(kReadoutId), GetModuleHandleA(nullptr), nullptr);
    int first = 0, narrowLast = 0, width = 0;
    InkColumns(readout, &first, &narrowLast, &width);
    int narrowWidth = narrowLast - first;
    SetWindowTextA(readout, "88");
    int wideLast = 0;
    InkColumns(readout, &first, &wideLast, &width);
    EXPECT_GE(wideLast - first, 2 * narrowWidth);
    DestroyWindow(parent);
}

TEST(DialogDescriptions, EveryCodeHasATextCutToTheBuffer)
{
    HMODULE module = LoadDialogs();
    ASSERT_NE(module, nullptr);
    auto controllerDesc = reinterpret_cast<TavroDLG_ControllerDescEx_t>(
        reinterpret_cast<void*>(GetProcAddress(module, "TavroDLG_ControllerDescEx")));
    auto moduleDesc = reinterpret_cast<TavroDLG_ModuleDescEx_t>(
        reinterpret_cast<void*>(GetProcAddress(module, "TavroDLG_ModuleDescEx")));
    auto extension = reinterpret_cast<TavroDLG_CommandFileExt_t>(
        reinterpret_cast<void*>(GetProcAddress(module, "TavroDLG_CommandFileExt")));
    ASSERT_TRUE(controllerDesc && moduleDesc && extension);

    char text[256];
    for (long type : {1L, 2L, 3L, 4L, 5L, 8L, 9L, 0L, 77L, -1L}) {
        memset(text, 'x', sizeof text);
        EXPECT_EQ(controllerDesc(type, 1, text, sizeof text), 0);
        EXPECT_GT(strlen(text), 0u) << type;
        EXPECT_LT(strlen(text), sizeof text);
    }
    char one[32], two[32];
    controllerDesc(1, 1, one, sizeof one);
    controllerDesc(2, 1, two, sizeof two);
    EXPECT_STRNE(one, two);
    controllerDesc(77, 1, one, sizeof one);
    controllerDesc(78, 1, two, sizeof two);
    EXPECT_STRNE(one, two) << "unknown codes name their number";

    for (long type : {12L, 15L, 4L, 1L, 999L}) {
        memset(text, 'x', sizeof text);
        EXPECT_EQ(moduleDesc(type, 1, text, 32), 0);
        EXPECT_GT(strlen(text), 0u);
        EXPECT_LT(strlen(text), 32u);
    }

    // Cut, never overrun: a guard byte after the buffer stays untouched.
    char small[9];
    small[8] = '#';
    EXPECT_EQ(controllerDesc(2, 1, small, 8), 0);
    EXPECT_EQ(strlen(small), 7u);
    EXPECT_EQ(small[8], '#');
    EXPECT_EQ(moduleDesc(999, 1, small, 1), 0);
    EXPECT_STREQ(small, "");
    EXPECT_LT(controllerDesc(1, 1, nullptr, 16), 0);
    EXPECT_LT(controllerDesc(1, 1, small, 0), 0);

    char ext[16];
    EXPECT_EQ(extension(1, 0, ext, sizeof ext), 0);
    EXPECT_GT(strlen(ext), 0u);
    EXPECT_EQ(extension(12345, 0, ext, sizeof ext), 0);
    EXPECT_GT(strlen(ext), 0u);
}
