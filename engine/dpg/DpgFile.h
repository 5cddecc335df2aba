// The DPG file of handheld game consoles: a 36-byte header, then an MPEG audio stream and an
// MPEG-1 video stream one after the other. The header's values come from the job's arguments.
#pragma once

#include <stdint.h>

#include <string>

const int kDpgHeaderSize = 36;

struct DpgHeaderValues
{
    uint32_t frames;
    double framesPerSecond; // "-r" of the arguments, 0 without one
    uint32_t sampleRate;    // "-ar" of the arguments, 0 without one
    uint32_t audioLength;
    uint32_t videoLength;
};

// The header bytes. The frame rate is written as players read it: frames per second times 256,
// 32-bit little-endian (20 fps: 00 14 00 00).
void BuildDpgHeader(const DpgHeaderValues& values, uint8_t header[kDpgHeaderSize]);

// The number after the first occurrence of option (for example "-r ") in the arguments, 0 without one.
double DpgArgumentNumber(const char* arguments, const char* option);

// The arguments without the time and size limits ("-t" and "-fs" with their values): a DPG file
// is written whole, never in segments.
std::string RemoveLimitOptions(const char* arguments);
