// Plot windows for tests, and a reader of what a print put into a metafile.
#include "plot_fixture.h"

#include <cstddef>
#include <map>

namespace {

template <typename T>
const T& RecordAs(const BYTE* record)
{
    return *reinterpret_cast<const T*>(record);
}

// A record's variable-length tail, read through a plain pointer (the headers
// declare such tails as one-element arrays).
template <typename T>
const T* TailAt(const BYTE* record, size_t offset)
{
    return reinterpret_cast<const T*>(record + offset);
}

} // namespace

HWND MakePlot(int width, int height, bool visible)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA known = {};
    known.cbSize = sizeof known;
    if (!GetClassInfoExA(instance, PLOT_WINDOW_CLASS, &known))
        LumoInitialize(instance);
    return CreateWindowExA(0, PLOT_WINDOW_CLASS, "", WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0,
                           width, height, nullptr, nullptr, instance, nullptr);
}

double GetDouble(HWND plot, UINT message)
{
    double value = -12345.0;
    SendMessageA(plot, message, 0, reinterpret_cast<LPARAM>(&value));
    return value;
}

void SetDouble(HWND plot, UINT message, double value)
{
    SendMessageA(plot, message, 0, reinterpret_cast<LPARAM>(&value));
}

void SetText(HWND plot, UINT message, const char* text, WPARAM trace)
{
    SendMessageA(plot, message, trace, reinterpret_cast<LPARAM>(text));
}

void SetTrace(HWND plot, int trace, const std::vector<double>& samples)
{
    SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(trace, samples.size()),
                 reinterpret_cast<LPARAM>(samples.data()));
}

std::vector<DrawnLine> Drawing::LinesOf(int penStyle, int penWidth) const
{
    std::vector<DrawnLine> found;
    for (const DrawnLine& line : lines)
        if (line.penStyle == penStyle && line.penWidth == penWidth)
            found.push_back(line);
    return found;
}

const DrawnText* Drawing::FindText(const std::string& text) const
{
    for (const DrawnText& drawn : texts)
        if (drawn.text == text)
            return &drawn;
    return nullptr;
}

Drawing RecordPrint(HWND plot)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, 600, -400, nullptr);
    SetViewportOrgEx(dc, 0, 400, nullptr);
    SendMessageA(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<BYTE> bits(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), bits.data());
    DeleteEnhMetaFile(metafile);

    Drawing drawing;
    std::map<DWORD, LOGPEN> pens;
    LOGPEN pen = {};
    POINT position = {0, 0};
    COLORREF textColor = 0;
    UINT align = 0;
    auto lineTo = [&](LONG x, LONG y) {
        drawing.lines.push_back({position, {x, y}, static_cast<int>(pen.lopnStyle),
                                 pen.lopnWidth.x, pen.lopnColor});
        position = {x, y};
    };
    for (size_t offset = 0; offset + sizeof(EMR) <= bits.size();) {
        const BYTE* record = bits.data() + offset;
        const EMR& header = RecordAs<EMR>(record);
        if (header.nSize == 0)
            break;
        offset += header.nSize;
        switch (header.iType) {
        case EMR_CREATEPEN:
            pens[RecordAs<EMRCREATEPEN>(record).ihPen] = RecordAs<EMRCREATEPEN>(record).lopn;
            break;
        case EMR_SELECTOBJECT:
            if (pens.count(RecordAs<EMRSELECTOBJECT>(record).ihObject))
                pen = pens[RecordAs<EMRSELECTOBJECT>(record).ihObject];
            break;
        case EMR_EXTCREATEFONTINDIRECTW:
            drawing.fonts.push_back(RecordAs<EMREXTCREATEFONTINDIRECTW>(record).elfw.elfLogFont);
            break;
        case EMR_MOVETOEX:
            position = {RecordAs<EMRMOVETOEX>(record).ptl.x, RecordAs<EMRMOVETOEX>(record).ptl.y};
            break;
        case EMR_LINETO:
            lineTo(RecordAs<EMRLINETO>(record).ptl.x, RecordAs<EMRLINETO>(record).ptl.y);
            break;
        case EMR_POLYLINE16:
        case EMR_POLYPOLYLINE16: {
            bool single = header.iType == EMR_POLYLINE16;
            DWORD polys = single ? 1 : RecordAs<EMRPOLYPOLYLINE16>(record).nPolys;
            const DWORD* counts = single ? &RecordAs<EMRPOLYLINE16>(record).cpts
                                         : TailAt<DWORD>(record, offsetof(EMRPOLYPOLYLINE16, aPolyCounts));
            const POINTS* points = single ? TailAt<POINTS>(record, offsetof(EMRPOLYLINE16, apts))
                                          : reinterpret_cast<const POINTS*>(counts + polys);
            for (DWORD i = 0; i < polys; points += counts[i++]) {
                position = {points[0].x, points[0].y};
                for (DWORD k = 1; k < counts[i]; ++k)
                    lineTo(points[k].x, points[k].y);
            }
            break;
        }
        case EMR_SETTEXTCOLOR:
            textColor = RecordAs<EMRSETTEXTCOLOR>(record).crColor;
            break;
        case EMR_SETTEXTALIGN:
            align = RecordAs<EMRSETTEXTALIGN>(record).iMode;
            break;
        case EMR_EXTTEXTOUTW: {
            const EMRTEXT& text = RecordAs<EMREXTTEXTOUTW>(record).emrtext;
            const WCHAR* chars = TailAt<WCHAR>(record, text.offString);
            std::string narrow(chars, chars + text.nChars);
            if (!narrow.empty())
                drawing.texts.push_back({{text.ptlReference.x, text.ptlReference.y}, narrow,
                                         textColor, align});
            break;
        }
        }
    }
    return drawing;
}
