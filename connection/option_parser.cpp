// Command-line splitter and option parser.
#include "option_parser.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char* OptionArgument = nullptr;
int OptionIndex = 1;
int OptionLetter = 0;
int OptionVerbose = 1;

namespace {

char g_programName[] = "program name";
// Scan position inside the current word, and whether a word is being read.
char* g_scan = nullptr;
bool g_inWord = false;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The first table entry whose name starts the text at the scan position,
// ignoring case; false when none does.
bool ParseLongOption(const LongOption* table, int* entryIndex, int* result)
{
    for (int index = 0; table[index].name; ++index) {
        const LongOption& option = table[index];
        const size_t length = strlen(option.name);
        if (_strnicmp(g_scan, option.name, length) != 0)
            continue;
        g_scan += length;
        if (entryIndex)
            *entryIndex = index;
        *result = option.value;
        if (option.flag) {
            *option.flag = option.value;
            *result = 0;
        }
        if (option.argumentKind != OPTION_NO_ARGUMENT && *g_scan == '=') {
            *g_scan = '\0';
            OptionArgument = g_scan + 1;
        } else if (option.argumentKind != OPTION_NO_ARGUMENT && OptionVerbose) {
            fprintf(stderr, "Argument missing for option -%c", *result);
        }
        return true;
    }
    return false;
}

int ParseShortOption(int count, char** vector, const char* optionString)
{
    int errorResult = '?';
    if (*optionString == ':') {
        errorResult = ':';
        ++optionString;
    }
    const char letter = *g_scan;
    const char* spec = (letter != '\0' && letter != ':') ? strchr(optionString, letter) : nullptr;
    if (!spec) {
        if (OptionVerbose)
            fprintf(stderr, "Unknown option -%c", letter);
        OptionLetter = static_cast<unsigned char>(letter);
        if (letter != '\0')
            ++g_scan;
        return errorResult;
    }

    ++g_scan;
    if (spec[1] != ':')
        return static_cast<unsigned char>(letter);

    const bool optional = spec[2] == ':';
    if (OptionIndex < count && (!optional || vector[OptionIndex][0] != '-')) {
        OptionArgument = vector[OptionIndex];
        ++OptionIndex;
    } else if (!optional) {
        if (OptionVerbose)
            fprintf(stderr, "Argument missing for option -%c", letter);
        OptionLetter = static_cast<unsigned char>(letter);
        return errorResult;
    }
    g_scan += strlen(g_scan);
    return static_cast<unsigned char>(letter);
}

} // namespace

int SplitCommandLine(char* text, char** vector, int capacity)
{
    if (capacity < 1)
        return 0;
    vector[0] = g_programName;
    int count = 1;
    char* position = text;
    while (position && *position && count < capacity) {
        while (IsBlank(*position))
            ++position;
        if (*position == '\0')
            break;
        char* word = position;
        if (*position == '"') {
            word = ++position;
            while (*position && *position != '"')
                ++position;
        } else {
            while (*position && !IsBlank(*position))
                ++position;
        }
        vector[count++] = word;
        if (*position)
            *position++ = '\0';
    }
    return count;
}

int ParseOption(int count, char** vector, const char* optionString, const LongOption* table,
                int* entryIndex, int mode)
{
    OptionArgument = nullptr;
    OptionLetter = 0;
    // Out of a word the scan position may point into an earlier command line.
    if (g_inWord && (!g_scan || *g_scan == '\0'))
        g_inWord = false;
    if (OptionIndex >= count && !g_inWord)
        return -1;
    if (!g_inWord)
        g_scan = vector[OptionIndex++];

    bool dash = false;
    if (*g_scan == '-') {
        dash = true;
        g_inWord = true;
        ++g_scan;
    }
    if (!g_inWord) {
        --OptionIndex;
        return -1;
    }
    bool doubleDash = false;
    if (dash && *g_scan == '-') {
        doubleDash = true;
        ++g_scan;
    }
    while (IsBlank(*g_scan))
        ++g_scan;

    const bool longAllowed = table && ((mode == OPTION_MODE_LONG && doubleDash) ||
                                       (mode == OPTION_MODE_LONG_ONLY && dash));
    int result = 0;
    if (longAllowed && ParseLongOption(table, entryIndex, &result))
        return result;
    return ParseShortOption(count, vector, optionString);
}

int GetOptionLong(int count, char** vector, const char* optionString, const LongOption* table,
                  int* entryIndex)
{
    return ParseOption(count, vector, optionString, table, entryIndex, OPTION_MODE_LONG);
}

int GetOptionLongOnly(int count, char** vector, const char* optionString, const LongOption* table,
                      int* entryIndex)
{
    return ParseOption(count, vector, optionString, table, entryIndex, OPTION_MODE_LONG_ONLY);
}

int GetOption(int count, char** vector, const char* optionString)
{
    return ParseOption(count, vector, optionString, nullptr, nullptr, OPTION_MODE_SHORT);
}

bool ParseOptionNumber(const char* argument, long* value)
{
    if (!argument || *argument == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    const long number = strtol(argument, &end, 10);
    if (end == argument || *end != '\0' || errno == ERANGE)
        return false;
    *value = number;
    return true;
}
