// The output calibration wizard.
#include "calibration_wizard.h"

#include <commctrl.h>

#include "analog_channel.h"
#include "resource.h"
#include "window_utils.h"

namespace {

const double kZeroLevelCounts = 2048.0;
const double kFullScaleCounts = 4095.0;
const int kSkipNone = 4;
const int kDiagramX = 10;
const int kDiagramY = 10;

// Entries of a marker row.
enum { MARK_OFFSET_POT = 0, MARK_PIN = 1, MARK_GAIN_POT = 2, MARK_LEAD = 3 };

struct CalMarker {
    int bitmap;
    int x;
    int y;
};

// Row = channel number mod 4; positions in page pixels.
const CalMarker kCalMarkers[4][4] = {
    {{IDB_CAL_OFFSET_POT, 38, 49}, {IDB_CAL_PIN, 38, 90}, {IDB_CAL_GAIN_POT1, 39, 73}, {IDB_CAL_LEAD1, 46, 94}},
    {{IDB_CAL_OFFSET_POT, 38, 39}, {IDB_CAL_PIN, 48, 90}, {IDB_CAL_GAIN_POT2, 17, 74}, {IDB_CAL_LEAD2, 56, 94}},
    {{IDB_CAL_OFFSET_POT, 38, 30}, {IDB_CAL_PIN, 58, 90}, {IDB_CAL_GAIN_POT3, 25, 60}, {IDB_CAL_LEAD3, 66, 94}},
    {{IDB_CAL_OFFSET_POT, 38, 21}, {IDB_CAL_PIN, 68, 90}, {IDB_CAL_GAIN_POT4, 12, 49}, {IDB_CAL_LEAD4, 76, 94}},
};

AnalogChannel* PageChannel(HWND page)
{
    return reinterpret_cast<AnalogChannel*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

// Keeps the channel the wizard builder gave every page.
void OnPageInit(HWND page, LPARAM lParam)
{
    const PROPSHEETPAGEA* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    SetWindowLongPtrA(page, GWLP_USERDATA, sheetPage->lParam);
}

// Drives the output in converter counts, whatever its display mode.
void WriteLevel(HWND page, double counts)
{
    if (AnalogChannel* channel = PageChannel(page))
        channel->Write(counts, MODE_DAC_COUNTS);
}

void DrawDiagram(HWND page, HDC dc, int skipped)
{
    DrawBitmapResource(page, MAKEINTRESOURCEA(IDB_CAL_MODULE), kDiagramX, kDiagramY, dc,
                       LR_DEFAULTSIZE);
    if (AnalogChannel* channel = PageChannel(page))
        DrawCalMarkers(page, dc, channel->ChannelNumber(), skipped);
}

// What one page does; `paint` draws its pictures.
struct PageBehaviour {
    DWORD buttons;
    void (*paint)(HWND page, HDC dc);
    // Notification handler for the page's own notifications (may be null).
    void (*notify)(HWND page, UINT code);
};

void PaintIntro(HWND page, HDC dc)
{
    DrawBitmapResource(page, MAKEINTRESOURCEA(IDB_CAL_INTRO), 10, 10, dc, LR_DEFAULTSIZE);
}

void PaintAllMarkers(HWND page, HDC dc)
{
    DrawDiagram(page, dc, kSkipNone);
}

void PaintWithoutGainPot(HWND page, HDC dc)
{
    DrawDiagram(page, dc, MARK_GAIN_POT);
}

void PaintFullScale(HWND page, HDC dc)
{
    DrawDiagram(page, dc, MARK_OFFSET_POT);
    DrawBitmapResource(page, MAKEINTRESOURCEA(IDB_CAL_METER_10V), 122, 165, dc,
                       LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS | LR_DEFAULTSIZE);
}

void NotifyStep2(HWND page, UINT code)
{
    if (code == static_cast<UINT>(PSN_WIZNEXT))
        WriteLevel(page, kFullScaleCounts);
}

void NotifyStep3(HWND page, UINT code)
{
    if (code == static_cast<UINT>(PSN_WIZNEXT) || code == static_cast<UINT>(PSN_WIZBACK) ||
        code == static_cast<UINT>(PSN_RESET))
        WriteLevel(page, kZeroLevelCounts);
}

void NotifyStep4(HWND page, UINT code)
{
    if (code == static_cast<UINT>(PSN_WIZBACK))
        WriteLevel(page, kFullScaleCounts);
}

LRESULT OnPaint(HWND page, const PageBehaviour& behaviour)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    if (dc)
        behaviour.paint(page, dc);
    EndPaint(page, &paint);
    return TRUE;
}

// Every notification is answered with 0: the page change or closing goes on.
INT_PTR OnNotify(HWND page, const NMHDR* header, const PageBehaviour& behaviour)
{
    if (header->code == static_cast<UINT>(PSN_SETACTIVE))
        PostMessageA(GetParent(page), PSM_SETWIZBUTTONS, 0, behaviour.buttons);
    else if (behaviour.notify)
        behaviour.notify(page, header->code);
    SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
    return TRUE;
}

// The procedure all pages share; `initialLevel` below 0 writes nothing.
INT_PTR PageProc(HWND page, UINT message, LPARAM lParam, const PageBehaviour& behaviour,
                 double initialLevel)
{
    switch (message) {
    case WM_INITDIALOG:
        OnPageInit(page, lParam);
        if (initialLevel >= 0.0)
            WriteLevel(page, initialLevel);
        return TRUE;
    case WM_PAINT:
        return OnPaint(page, behaviour);
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam), behaviour);
    }
    return FALSE;
}

const PageBehaviour kIntroPage = {PSWIZB_NEXT, PaintIntro, nullptr};
const PageBehaviour kStep1Page = {PSWIZB_BACK | PSWIZB_NEXT, PaintAllMarkers, nullptr};
const PageBehaviour kStep2Page = {PSWIZB_BACK | PSWIZB_NEXT, PaintWithoutGainPot, NotifyStep2};
const PageBehaviour kStep3Page = {PSWIZB_BACK | PSWIZB_NEXT, PaintFullScale, NotifyStep3};
const PageBehaviour kStep4Page = {PSWIZB_BACK | PSWIZB_NEXT, PaintWithoutGainPot, NotifyStep4};
const PageBehaviour kFinishPage = {PSWIZB_BACK | PSWIZB_FINISH, PaintAllMarkers, nullptr};

const double kNoWrite = -1.0;

} // namespace

void DrawCalMarkers(HWND page, HDC dc, int channelNumber, int skipped)
{
    const int row = ((channelNumber % 4) + 4) % 4;
    for (int entry = 0; entry < 4; ++entry) {
        if (entry == skipped)
            continue;
        const CalMarker& marker = kCalMarkers[row][entry];
        DrawBitmapResource(page, MAKEINTRESOURCEA(marker.bitmap), marker.x, marker.y, dc,
                           LR_DEFAULTSIZE);
    }
}

INT_PTR CALLBACK CalWizardIntroProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return PageProc(page, message, lParam, kIntroPage, kNoWrite);
}

INT_PTR CALLBACK CalWizardStep1Proc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return PageProc(page, message, lParam, kStep1Page, kZeroLevelCounts);
}

INT_PTR CALLBACK CalWizardStep2Proc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return PageProc(page, message, lParam, kStep2Page, kZeroLevelCounts);
}

INT_PTR CALLBACK CalWizardStep3Proc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return PageProc(page, message, lParam, kStep3Page, kNoWrite);
}

INT_PTR CALLBACK CalWizardStep4Proc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return PageProc(page, message, lParam, kStep4Page, kNoWrite);
}

INT_PTR CALLBACK CalWizardFinishProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    return PageProc(page, message, lParam, kFinishPage, kNoWrite);
}

void RunCalibrationWizard(HINSTANCE instance, AnalogChannel* channel, HWND owner)
{
    static const DLGPROC procedures[] = {CalWizardIntroProc, CalWizardStep1Proc,
                                         CalWizardStep2Proc, CalWizardStep3Proc,
                                         CalWizardStep4Proc, CalWizardFinishProc};
    const int pageCount = sizeof procedures / sizeof procedures[0];
    PROPSHEETPAGEA pages[pageCount] = {};
    for (int k = 0; k < pageCount; ++k) {
        pages[k].dwSize = sizeof pages[k];
        pages[k].hInstance = instance;
        pages[k].pszTemplate = MAKEINTRESOURCEA(IDD_CAL_INTRO + 10 * k);
        pages[k].pfnDlgProc = procedures[k];
        pages[k].lParam = reinterpret_cast<LPARAM>(channel);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE;
    header.hwndParent = owner;
    header.hInstance = instance;
    header.pszCaption = "Analog Output Cal Wizard";
    header.nPages = pageCount;
    header.nStartPage = 0;
    header.ppsp = pages;
    PropertySheetA(&header);
}
