// Tick labels: a caller's printf format is used only when it takes exactly one double.
#include "plot_window.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

const char kFallbackFormat[] = "%lg";

// True when `format` holds exactly one floating conversion (no '*', no length
// modifier other than 'l') and no other conversion besides "%%".
bool IsSingleDoubleFormat(const char* format)
{
    int conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        ++p;
        if (*p == '%')
            continue;
        while (*p && strchr("-+ #0", *p))
            ++p;
        while (isdigit(static_cast<unsigned char>(*p)))
            ++p;
        if (*p == '.') {
            ++p;
            while (isdigit(static_cast<unsigned char>(*p)))
                ++p;
        }
        if (*p == 'l')
            ++p;
        if (!*p || !strchr("eEfFgGaA", *p))
            return false;
        ++conversions;
    }
    return conversions == 1;
}

} // namespace

void FormatTickLabel(char* buffer, size_t size, const std::string& format, double value)
{
    const char* used = IsSingleDoubleFormat(format.c_str()) ? format.c_str() : kFallbackFormat;
    snprintf(buffer, size, used, value);
}
