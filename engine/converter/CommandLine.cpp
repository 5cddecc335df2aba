#include "engine/converter/CommandLine.h"

#include "engine/Engine.h"

#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>

extern "C"
{
#include <libavutil/error.h>
#include <libavutil/log.h>
}

void ConverterMessageV(int level, const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(&text[0], text.size(), format, args);
    text.resize(length);
    // The job whose worker parses or transcodes shows it in its log; a line outside any job goes
    // to the standard error stream. Never both: a console that prints the log would show it twice.
    if (!EngineLogToCurrentJob(level, text.c_str()))
        fputs(text.c_str(), stderr);
}

void ConverterMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    ConverterMessageV(AV_LOG_ERROR, format, args);
    va_end(args);
}

void ConverterInfo(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    ConverterMessageV(AV_LOG_INFO, format, args);
    va_end(args);
}

char** SplitCommandLine(const char* text, int* wordCount)
{
    size_t length = strlen(text);
    // Words are separated by at least one character, so there are at most (n + 1) / 2 of them.
    size_t slots = length / 2 + 2;
    char** words = static_cast<char**>(malloc(slots * sizeof(char*) + length + 2));
    if (!words)
    {
        *wordCount = 0;
        return nullptr;
    }
    char* out = reinterpret_cast<char*>(words + slots);
    int count = 0;
    bool atWordStart = true, wordOpen = false, inQuotes = false;
    for (const char* p = text; *p; ++p)
    {
        char c = *p;
        if (inQuotes)
        {
            if (c == '"')
                inQuotes = false;
            else
                *out++ = c;
        }
        else if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
        {
            if (wordOpen)
                *out++ = 0;
            atWordStart = true;
            wordOpen = false;
        }
        else if (c == '"')
        {
            if (atWordStart)
                words[count++] = out;
            atWordStart = false;
            wordOpen = true;
            inQuotes = true;
        }
        else
        {
            if (atWordStart)
                words[count++] = out;
            *out++ = c;
            atWordStart = false;
            wordOpen = true;
        }
    }
    *out = 0;
    words[count] = nullptr;
    *wordCount = count;
    return words;
}

const OptionDef* FindOption(const char* name)
{
    const OptionDef* row = ConverterOptionTable();
    for (; row->name; ++row)
        if (!strcmp(row->name, name))
            break;
    return row;
}

bool IsSegmentedJob(const char* arguments)
{
    int wordCount = 0;
    std::unique_ptr<char*, void (*)(void*)> words(SplitCommandLine(arguments ? arguments : "", &wordCount), free);
    if (!words)
        return false;
    const OptionDef* const time = FindOption("t");
    const OptionDef* const size = FindOption("fs");
    for (int i = 0; i < wordCount; ++i)
    {
        const char* word = words.get()[i];
        if (!strcmp(word, "--"))
            break;
        if (word[0] != '-' || !word[1])
            continue;
        const OptionDef* row = FindOption(word + 1);
        if (row == time || row == size)
            return true;
        if (!row->name)
            row = FindOption("default");
        if (row->flags & kOptHasArg)
            ++i; // the option's value, whatever it looks like
    }
    return false;
}

static void FailParse()
{
    ConverterFatalExit(1);
}

void ParseOptions(int wordCount, char** words, PlainWordCallback callback)
{
    bool optionsEnded = false;
    for (int i = 1; i < wordCount;)
    {
        const char* word = words[i++];
        if (!optionsEnded && !strcmp(word, "--"))
        {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word[0] != '-' || !word[1])
        {
            if (callback)
                callback(word);
            continue;
        }
        const char* name = word + 1;
        const OptionDef* row = FindOption(name);
        if (!row->name)
            row = FindOption("default");
        const char* arg = nullptr;
        if (row->flags & kOptHasArg)
        {
            if (i >= wordCount)
            {
                ConverterMessage("%s: missing argument for option '%s'\n", ConverterProgramLabel(), name);
                FailParse();
            }
            arg = words[i++];
        }
        if (row->flags & kOptString)
        {
            char** target = static_cast<char**>(row->variable);
            free(*target);
            *target = strdup(arg);
        }
        else if (row->flags & kOptBool)
            *static_cast<int*>(row->variable) = 1;
        else if (row->flags & kOptInt)
            *static_cast<int*>(row->variable) = static_cast<int>(ParseIntegerOrDie(name, arg, INT32_MIN, INT32_MAX));
        else if (row->flags & kOptInt64)
            *static_cast<int64_t*>(row->variable) = ParseIntegerOrDie(name, arg, INT64_MIN, INT64_MAX);
        else if (row->flags & kOptFloat)
            *static_cast<float*>(row->variable) =
                static_cast<float>(ParseNumberOrDie(name, arg, kOptFloat, -INFINITY, INFINITY));
        else if (row->flags & kOptNamedHandler)
        {
            if (row->namedHandler(name, arg) < 0)
            {
                ConverterMessage("%s: unrecognized option '%s'\n", ConverterProgramLabel(), name);
                FailParse();
            }
        }
        else
            row->handler(arg);
    }
}

double ParseNumberOrDie(const char* name, const char* text, int kind, double minimum, double maximum)
{
    char* tail = nullptr;
    double value = strtod(text, &tail);
    if (tail == text || *tail)
        ConverterMessage("Expected number for %s but found: %s\n", name, text);
    else if (value < minimum || value > maximum)
        ConverterMessage("The value for %s was %s which is not within %f - %f\n", name, text, minimum, maximum);
    else if (kind == kOptInt64 && static_cast<double>(static_cast<int64_t>(value)) != value)
        ConverterMessage("Expected int64 for %s but found %s\n", name, text);
    else
        return value;
    FailParse();
    return 0;
}

int64_t ParseIntegerOrDie(const char* name, const char* text, int64_t minimum, int64_t maximum)
{
    // Whole numbers are read in 64 bits: a double cannot hold every one of them.
    char* tail = nullptr;
    errno = 0;
    long long whole = strtoll(text, &tail, 10);
    if (tail != text && !*tail)
    {
        if (errno != ERANGE && whole >= minimum && whole <= maximum)
            return whole;
        ConverterMessage("The value for %s was %s which is not within %f - %f\n", name, text,
                         static_cast<double>(minimum), static_cast<double>(maximum));
        FailParse();
    }
    // Other spellings ("1e3", "0x10", "2.0") go through the decimal conversion; the bounds are
    // those of a double that converts back without overflow.
    const double kTwoPow63 = 9223372036854775808.0;
    double lower = std::max(static_cast<double>(minimum), -kTwoPow63);
    double upper = std::min(static_cast<double>(maximum), std::nextafter(kTwoPow63, 0.0));
    return static_cast<int64_t>(ParseNumberOrDie(name, text, kOptInt64, lower, upper));
}

namespace
{
struct ErrorMapping
{
    int avError;
    int legacyCode;
};

const int kLegacyUnknownFormat = -42;

// FFmpeg's error numbers of today mapped onto the ones the converter's messages are keyed by.
const ErrorMapping kErrorMappings[] = {
    {AVERROR(ENOENT), -2},
    {AVERROR(EIO), -5},
    {AVERROR_EOF, -5},
    {AVERROR(ENOMEM), -12},
    {AVERROR(EINVAL), -22},
    {AVERROR_INVALIDDATA, -22},
    {AVERROR(EDOM), -33},
    {AVERROR(EILSEQ), kLegacyUnknownFormat},
    {AVERROR_DEMUXER_NOT_FOUND, kLegacyUnknownFormat},
    {AVERROR_MUXER_NOT_FOUND, kLegacyUnknownFormat},
};

struct OpenErrorText
{
    int legacyCode;
    const char* format;
};

const OpenErrorText kOpenErrorTexts[] = {
    {-42, "%s: Unknown format\n"},
    {-33, "%s: Incorrect image filename syntax.\nUse '%%d' to specify the image number:\n"
          "  for img1.jpg, img2.jpg, ..., use 'img%%d.jpg';\n"
          "  for img001.jpg, img002.jpg, ..., use 'img%%03d.jpg'.\n"},
    {-22, "%s: Error while parsing header\n"},
    {-12, "%s: memory allocation error occurred\n"},
    {-5, "%s: I/O error occurred\nUsually that means that input file is truncated and/or corrupted.\n"},
    {-2, "%s: no such file or directory\n"},
};
} // namespace

int LegacyErrorCode(int avError)
{
    for (const ErrorMapping& mapping : kErrorMappings)
        if (mapping.avError == avError)
            return mapping.legacyCode;
    return avError;
}

void PrintOpenError(int legacyCode, const char* fileName)
{
    for (const OpenErrorText& text : kOpenErrorTexts)
        if (text.legacyCode == legacyCode)
        {
            ConverterMessage(text.format, fileName);
            return;
        }
    ConverterMessage("%s: Error while opening file\n", fileName);
}
