// The option values of a RealMedia job's argument text: what the RealMedia job needs of the
// converter's options, filled by ParseRealMediaCommandLine; the job fills nothing else from them.
#pragma once

#include <stdint.h>

struct RealMediaSettings
{
    int audioDisabled;
    int videoDisabled;
    int64_t recordingTime; // microseconds; INT64_MAX without a limit
    int64_t startTime;     // microseconds
    int64_t fileSizeLimit; // bytes: "fs" less 307200, not below 0
    int width, height;
    float aspectRatio; // display aspect ratio, 0 when not set
    double frameRate;  // whole frames per second ("-r" 30000/1001 gives 29); 0 when not set
    int audioVolume;   // 256: unchanged
    int sampleRate;
    int channels;
    int bitsPerSample;
    int padTop, padBottom, padLeft, padRight;
    int padColor[3]; // Y, U, V
    int deinterlace;
    int pass;
    int videoBitRate; // bits per second
    int audioBitRate;
    int realMediaPlatform; // "rv40_platform"
};

// The values a record has when no argument text could be parsed.
void InitRealMediaSettings(RealMediaSettings* settings);

// Parses a RealMedia job's command line (label and argument text, no files) under
// g_optionParserLock, held by the caller. 0, or -1 when the parse failed (settings unchanged).
int ParseRealMediaCommandLine(const char* commandLine, RealMediaSettings* settings);
