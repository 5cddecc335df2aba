// The converter's command-line mechanics: splitting a command line into words, matching them
// against the option table, number parsing, error texts, and how a failed parse unwinds.
#pragma once

#include <stdarg.h>
#include <stdint.h>

// Option flag bits of the option table.
enum OptionFlags
{
    kOptHasArg = 0x0001,
    kOptBool = 0x0002,
    kOptExpert = 0x0004,
    kOptString = 0x0008,
    kOptVideo = 0x0010,
    kOptAudio = 0x0020,
    kOptGrab = 0x0040,
    kOptInt = 0x0080,
    kOptFloat = 0x0100,
    kOptSubtitle = 0x0200,
    kOptNamedHandler = 0x0400,
    kOptInt64 = 0x0800,
};

typedef void (*OptionHandler)(const char* arg);
typedef int (*NamedOptionHandler)(const char* name, const char* arg);

// One row of the option table: the variable it sets or the handler it calls.
struct OptionDef
{
    const char* name;
    int flags;
    void* variable;
    OptionHandler handler;
    NamedOptionHandler namedHandler;
    const char* help;
    const char* argName;
};

// Raised by ConverterFatalExit(non-zero); the two parse entry points catch it.
struct ConverterParseFailure
{
    int code;
};

// Writes a converter message (C formatting rules) to the standard error stream and to the log of
// the job whose worker runs on the calling thread: errors and warnings, or information.
void ConverterMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ConverterInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ConverterMessageV(int level, const char* format, va_list args);

// One block holding the word pointers (ending with a null pointer) and the characters of all
// words; the caller frees it with one free().
char** SplitCommandLine(const char* text, int* wordCount);

// The option table, ending with a row whose name is null ("default" is the last named row).
const OptionDef* ConverterOptionTable();
const OptionDef* FindOption(const char* name);

typedef void (*PlainWordCallback)(const char* word);
void ParseOptions(int wordCount, char** words, PlainWordCallback callback);

// kind is kOptInt64 (whole numbers only), kOptInt or kOptFloat.
double ParseNumberOrDie(const char* name, const char* text, int kind, double minimum, double maximum);
// A whole number within [minimum, maximum], exact over the whole 64-bit range.
int64_t ParseIntegerOrDie(const char* name, const char* text, int64_t minimum, int64_t maximum);

// The error code as the converter's messages know it (ENOENT -2, EIO -5, ENOMEM -12, EINVAL -22,
// unknown format -42, ...) for an error code of the FFmpeg libraries.
int LegacyErrorCode(int avError);
void PrintOpenError(int legacyCode, const char* fileName);

// Frees the global option state; a non-zero code ends the parse as failed.
int ConverterFatalExit(int code);

// The program label of the command line being parsed (first word).
const char* ConverterProgramLabel();
