#include "engine/dpg/DpgFile.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{
const char kMagic[] = "DPG0";
const uint32_t kFrameRateScale = 256;

void PutLittleEndian(uint8_t* at, uint32_t value)
{
    at[0] = value & 0xFF;
    at[1] = (value >> 8) & 0xFF;
    at[2] = (value >> 16) & 0xFF;
    at[3] = value >> 24;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
}

void BuildDpgHeader(const DpgHeaderValues& values, uint8_t header[kDpgHeaderSize])
{
    std::memset(header, 0, kDpgHeaderSize);
    std::memcpy(header, kMagic, 4);
    PutLittleEndian(header + 4, values.frames);
    double rate = values.framesPerSecond > 0.0 ? std::floor(values.framesPerSecond * kFrameRateScale + 0.5) : 0.0;
    PutLittleEndian(header + 8, rate < 4294967295.0 ? static_cast<uint32_t>(rate) : 0);
    PutLittleEndian(header + 12, values.sampleRate);
    PutLittleEndian(header + 20, kDpgHeaderSize);
    PutLittleEndian(header + 24, values.audioLength);
    PutLittleEndian(header + 28, kDpgHeaderSize + values.audioLength);
    PutLittleEndian(header + 32, values.videoLength);
}

double DpgArgumentNumber(const char* arguments, const char* option)
{
    const char* found = arguments ? std::strstr(arguments, option) : nullptr;
    if (!found)
        return 0.0;
    double value = std::strtod(found + std::strlen(option), nullptr);
    return std::isfinite(value) && value > 0.0 ? value : 0.0;
}

std::string RemoveLimitOptions(const char* arguments)
{
    // Words are separated by blanks; a quoted word keeps its blanks.
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (const char* p = arguments ? arguments : ""; *p; ++p)
    {
        if (*p == '"')
            quoted = !quoted;
        if (IsBlank(*p) && !quoted)
        {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        }
        else
            word += *p;
    }
    if (!word.empty())
        words.push_back(word);
    std::string result;
    for (size_t i = 0; i < words.size(); ++i)
    {
        if (words[i] == "-t" || words[i] == "-fs")
        {
            ++i; // and its value
            continue;
        }
        if (!result.empty())
            result += ' ';
        result += words[i];
    }
    return result;
}
