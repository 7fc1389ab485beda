// Tick labels: a caller's printf format is used only when it takes exactly one
// double and its width and precision are short.
#include "plot_window.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

const char kFallbackFormat[] = "%lg";

// Longest width or precision taken from a caller's format, in digits; longer
// ones would have the formatter write (or fail on) far more than a label holds.
const int kMaxFieldDigits = 3;

double TickValue(double min, double max, int divisions, int index)
{
    return (max - min) / divisions * index + min;
}

// Skips the digits at `p`; false when there are more than kMaxFieldDigits.
bool SkipShortNumber(const char** p)
{
    int digits = 0;
    while (isdigit(static_cast<unsigned char>(**p))) {
        ++*p;
        ++digits;
    }
    return digits <= kMaxFieldDigits;
}

// True when `format` holds exactly one floating conversion (no '*', no length
// modifier other than 'l', a short width and precision) and no other
// conversion besides "%%".
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
        if (!SkipShortNumber(&p))
            return false;
        if (*p == '.') {
            ++p;
            if (!SkipShortNumber(&p))
                return false;
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

void FormatTickLabel(char (&buffer)[TICK_TEXT_SIZE], const std::string& format, double min,
                     double max, int divisions, int index)
{
    const char* used = IsSingleDoubleFormat(format.c_str()) ? format.c_str() : kFallbackFormat;
    snprintf(buffer, sizeof buffer, used, TickValue(min, max, divisions, index));
}
