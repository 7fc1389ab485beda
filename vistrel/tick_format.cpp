// Tick labels: a caller's printf format is used only when it takes exactly one double.
#include "plot_window.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

const char kFallbackFormat[] = "%lg";

bool SameBits(double a, double b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

double TickValue(double min, double max, int divisions, int index)
{
    return (max - min) / divisions * index + min;
}

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

const char* TickLabel(TickTexts* cache, const std::string& format, double min, double max,
                      int divisions, int index, char (&scratch)[TICK_TEXT_SIZE])
{
    if (divisions < 1 || divisions > TICK_CACHE_DIVISIONS) {
        FormatTickLabel(scratch, sizeof scratch, format, TickValue(min, max, divisions, index));
        return scratch;
    }
    // Bitwise, so that -0 and 0 (printed differently) are told apart.
    if (cache->divisions != divisions || !SameBits(cache->min, min) ||
        !SameBits(cache->max, max) || cache->format != format) {
        cache->divisions = 0;
        try {
            cache->format = format;
        } catch (const std::bad_alloc&) {
            FormatTickLabel(scratch, sizeof scratch, format, TickValue(min, max, divisions, index));
            return scratch;
        }
        for (int i = 0; i <= divisions; ++i)
            FormatTickLabel(cache->texts[i], sizeof cache->texts[i], format,
                            TickValue(min, max, divisions, i));
        cache->min = min;
        cache->max = max;
        cache->divisions = divisions;
    }
    return cache->texts[index];
}
