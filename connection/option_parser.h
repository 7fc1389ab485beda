// Command-line splitter and option parser of the I/O panels and the tuning
// program: getopt-style parsing with a table of long options.
#ifndef DREVALON_OPTION_PARSER_H
#define DREVALON_OPTION_PARSER_H

// Argument kinds of a long option.
enum { OPTION_NO_ARGUMENT = 0, OPTION_REQUIRED_ARGUMENT = 1, OPTION_OPTIONAL_ARGUMENT = 2 };

// Modes of ParseOption.
enum { OPTION_MODE_LONG = 0, OPTION_MODE_LONG_ONLY = 1, OPTION_MODE_SHORT = 2 };

// One entry of a long-option table; a null name ends the table.
struct LongOption {
    const char* name;
    int argumentKind;
    int* flag;
    int value;
};

// Parser state, kept between calls.
extern char* OptionArgument;   // argument of the last option, or null
extern int OptionIndex;        // next word of the vector; starts at 1
extern int OptionLetter;       // character of the last error, else 0
extern int OptionVerbose;      // print the parser's messages to stderr

// Cuts `text` in place into words after the fixed word 0 "program name";
// at most `capacity` entries. Returns the word count including word 0.
int SplitCommandLine(char* text, char** vector, int capacity);

// One option of the vector: its letter, a long option's value (0 when the
// value went to its flag), -1 at the end of the options, or ':' / '?' on error.
int ParseOption(int count, char** vector, const char* optionString, const LongOption* table,
                int* entryIndex, int mode);

// Long options after "--".
int GetOptionLong(int count, char** vector, const char* optionString, const LongOption* table,
                  int* entryIndex);
// Long options after "-" too.
int GetOptionLongOnly(int count, char** vector, const char* optionString, const LongOption* table,
                      int* entryIndex);
// Short options only.
int GetOption(int count, char** vector, const char* optionString);

// The number of an option argument in decimal; false (and `value` untouched)
// when the argument is missing or is not a whole number.
bool ParseOptionNumber(const char* argument, long* value);

#endif
