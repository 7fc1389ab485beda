// Plot windows for tests, and a reader of what a print put into a metafile.
#include "plot_fixture.h"

#include <cstddef>
#include <map>

namespace {

struct PenInfo {
    int style;
    int width;
    COLORREF color;
};

template <typename T>
const T* RecordAs(const BYTE* record)
{
    return reinterpret_cast<const T*>(record);
}

// A record's variable-length tail, read through a plain pointer (the headers
// declare such tails as one-element arrays).
template <typename T>
const T* TailAt(const BYTE* record, size_t offset)
{
    return reinterpret_cast<const T*>(record + offset);
}

std::string TextOfRecord(const BYTE* record, DWORD type)
{
    const EMRTEXT& text = RecordAs<EMREXTTEXTOUTW>(record)->emrtext;
    std::string result;
    if (type == EMR_EXTTEXTOUTA) {
        result.assign(reinterpret_cast<const char*>(record + text.offString), text.nChars);
    } else {
        const WCHAR* chars = reinterpret_cast<const WCHAR*>(record + text.offString);
        for (DWORD i = 0; i < text.nChars; ++i)
            result += static_cast<char>(chars[i]);
    }
    return result;
}

} // namespace

HWND MakePlot(int width, int height, bool visible)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA known = {};
    known.cbSize = sizeof known;
    if (!GetClassInfoExA(instance, PLOT_WINDOW_CLASS, &known))
        LumoInitialize(instance);
    RECT frame = {0, 0, width, height};
    DWORD style = WS_POPUP | (visible ? WS_VISIBLE : 0);
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, PLOT_WINDOW_CLASS, "", style, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
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

void SetTrace(HWND plot, int trace, const std::vector<double>& samples)
{
    SendMessageA(plot, PLM_SETTRACEDATA, MAKEWPARAM(trace, samples.size()),
                 reinterpret_cast<LPARAM>(samples.data()));
}

std::vector<DrawnLine> Drawing::LinesOf(int penStyle) const
{
    std::vector<DrawnLine> found;
    for (const DrawnLine& line : lines)
        if (line.penStyle == penStyle)
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

Drawing RecordPrint(HWND plot, int width, int height)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportExtEx(dc, width, -height, nullptr);
    SetViewportOrgEx(dc, 0, height, nullptr);
    SendMessageA(plot, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    std::vector<BYTE> bits(size);
    GetEnhMetaFileBits(metafile, size, bits.data());
    DeleteEnhMetaFile(metafile);

    Drawing drawing;
    std::map<DWORD, PenInfo> pens;
    PenInfo pen = {PS_SOLID, 0, 0};
    POINT position = {0, 0};
    COLORREF textColor = 0;
    UINT align = 0;
    for (size_t offset = 0; offset + sizeof(EMR) <= bits.size();) {
        const BYTE* record = bits.data() + offset;
        const EMR* header = RecordAs<EMR>(record);
        switch (header->iType) {
        case EMR_CREATEPEN: {
            const EMRCREATEPEN* created = RecordAs<EMRCREATEPEN>(record);
            pens[created->ihPen] = {static_cast<int>(created->lopn.lopnStyle),
                                    created->lopn.lopnWidth.x, created->lopn.lopnColor};
            break;
        }
        case EMR_EXTCREATEPEN: {
            const EMREXTCREATEPEN* created = RecordAs<EMREXTCREATEPEN>(record);
            pens[created->ihPen] = {static_cast<int>(created->elp.elpPenStyle & PS_STYLE_MASK),
                                    static_cast<int>(created->elp.elpWidth), created->elp.elpColor};
            break;
        }
        case EMR_SELECTOBJECT: {
            auto found = pens.find(RecordAs<EMRSELECTOBJECT>(record)->ihObject);
            if (found != pens.end())
                pen = found->second;
            break;
        }
        case EMR_EXTCREATEFONTINDIRECTW:
            drawing.fonts.push_back(RecordAs<EMREXTCREATEFONTINDIRECTW>(record)->elfw.elfLogFont);
            break;
        case EMR_MOVETOEX:
            position = {RecordAs<EMRMOVETOEX>(record)->ptl.x, RecordAs<EMRMOVETOEX>(record)->ptl.y};
            break;
        case EMR_LINETO: {
            POINT to = {RecordAs<EMRLINETO>(record)->ptl.x, RecordAs<EMRLINETO>(record)->ptl.y};
            drawing.lines.push_back({position, to, pen.style, pen.width, pen.color});
            position = to;
            break;
        }
        case EMR_POLYLINETO16: {
            const EMRPOLYLINETO16* poly = RecordAs<EMRPOLYLINETO16>(record);
            const POINTS* points = TailAt<POINTS>(record, offsetof(EMRPOLYLINETO16, apts));
            for (DWORD i = 0; i < poly->cpts; ++i) {
                POINT to = {points[i].x, points[i].y};
                drawing.lines.push_back({position, to, pen.style, pen.width, pen.color});
                position = to;
            }
            break;
        }
        case EMR_POLYLINETO: {
            const EMRPOLYLINETO* poly = RecordAs<EMRPOLYLINETO>(record);
            const POINTL* points = TailAt<POINTL>(record, offsetof(EMRPOLYLINETO, aptl));
            for (DWORD i = 0; i < poly->cptl; ++i) {
                POINT to = {points[i].x, points[i].y};
                drawing.lines.push_back({position, to, pen.style, pen.width, pen.color});
                position = to;
            }
            break;
        }
        case EMR_POLYPOLYLINE16: {
            const EMRPOLYPOLYLINE16* poly = RecordAs<EMRPOLYPOLYLINE16>(record);
            const DWORD* counts = TailAt<DWORD>(record, offsetof(EMRPOLYPOLYLINE16, aPolyCounts));
            const POINTS* points = reinterpret_cast<const POINTS*>(counts + poly->nPolys);
            for (DWORD i = 0; i < poly->nPolys; ++i) {
                for (DWORD k = 1; k < counts[i]; ++k)
                    drawing.lines.push_back({{points[k - 1].x, points[k - 1].y},
                                             {points[k].x, points[k].y},
                                             pen.style, pen.width, pen.color});
                points += counts[i];
            }
            break;
        }
        case EMR_POLYLINE16: {
            const EMRPOLYLINE16* poly = RecordAs<EMRPOLYLINE16>(record);
            const POINTS* points = TailAt<POINTS>(record, offsetof(EMRPOLYLINE16, apts));
            for (DWORD i = 1; i < poly->cpts; ++i)
                drawing.lines.push_back({{points[i - 1].x, points[i - 1].y},
                                         {points[i].x, points[i].y},
                                         pen.style, pen.width, pen.color});
            break;
        }
        case EMR_SETTEXTCOLOR:
            textColor = RecordAs<EMRSETTEXTCOLOR>(record)->crColor;
            break;
        case EMR_SETTEXTALIGN:
            align = RecordAs<EMRSETTEXTALIGN>(record)->iMode;
            break;
        case EMR_EXTTEXTOUTA:
        case EMR_EXTTEXTOUTW: {
            const EMRTEXT& text = RecordAs<EMREXTTEXTOUTW>(record)->emrtext;
            std::string chars = TextOfRecord(record, header->iType);
            if (!chars.empty())
                drawing.texts.push_back({{text.ptlReference.x, text.ptlReference.y}, chars,
                                         textColor, align});
            break;
        }
        }
        ++drawing.records;
        if (header->nSize == 0)
            break;
        offset += header->nSize;
    }
    return drawing;
}
