#include "platform/producer/RealMediaRepair.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <memory>
#include <vector>

namespace
{
// Byte offsets inside the chunks, from the start of each chunk (tag and size come first).
const size_t kChunkHeader = 10;     // tag, size, object version
const size_t kPropDuration = 30;    // PROP: after the bit rates, packet sizes and packet count
const size_t kMdprStream = 10;      // MDPR: the stream number
const size_t kMdprDuration = 36;    // MDPR: after the bit rates, packet sizes, start time and preroll
const size_t kDataPacketCount = 10; // DATA: the number of packets
const size_t kDataFirstPacket = 18; // DATA: after the packet count and the next-data offset
const size_t kPacketHeader = 12;    // version, length, stream, time, group, flags
const size_t kPacketLength = 2;
const size_t kPacketStream = 4;
const size_t kPacketTime = 6;

struct FileCloser
{
    void operator()(FILE* f) const
    {
        fclose(f);
    }
};

uint32_t Read32(const uint8_t* p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

uint16_t Read16(const uint8_t* p)
{
    return (uint16_t)(p[0] << 8 | p[1]);
}

void Write32(uint8_t* p, uint32_t value)
{
    p[0] = (uint8_t)(value >> 24);
    p[1] = (uint8_t)(value >> 16);
    p[2] = (uint8_t)(value >> 8);
    p[3] = (uint8_t)value;
}
} // namespace

bool StampRealMediaPackets(const std::string& path, int stream, int msPerPacket)
{
    std::vector<uint8_t> bytes;
    {
        std::unique_ptr<FILE, FileCloser> file(fopen(path.c_str(), "rb"));
        if (!file)
            return false;
        uint8_t buffer[65536];
        size_t got;
        while ((got = fread(buffer, 1, sizeof(buffer), file.get())) > 0)
            bytes.insert(bytes.end(), buffer, buffer + got);
    }
    uint8_t* prop = nullptr;
    uint8_t* mdpr = nullptr;
    uint32_t packets = 0;
    size_t at = 0;
    while (at + kChunkHeader <= bytes.size())
    {
        uint8_t* chunk = bytes.data() + at;
        uint32_t size = Read32(chunk + 4);
        // The muxer's data chunk may claim a few bytes more than the file holds.
        if (memcmp(chunk, "DATA", 4) == 0 && size > bytes.size() - at)
            size = (uint32_t)(bytes.size() - at);
        if (size < kChunkHeader || size > bytes.size() - at)
            break;
        if (memcmp(chunk, "PROP", 4) == 0 && size >= kPropDuration + 4)
            prop = chunk;
        else if (memcmp(chunk, "MDPR", 4) == 0 && size >= kMdprDuration + 4 && Read16(chunk + kMdprStream) == stream)
            mdpr = chunk;
        else if (memcmp(chunk, "DATA", 4) == 0 && size >= kDataFirstPacket)
        {
            uint32_t count = Read32(chunk + kDataPacketCount);
            size_t packet = kDataFirstPacket;
            for (uint32_t i = 0; i < count && packet + kPacketHeader <= size; ++i)
            {
                uint16_t length = Read16(chunk + packet + kPacketLength);
                if (length < kPacketHeader)
                    return false;
                if (Read16(chunk + packet + kPacketStream) == stream)
                    Write32(chunk + packet + kPacketTime, packets++ * (uint32_t)msPerPacket);
                packet += length;
            }
        }
        at += size;
    }
    if (!prop || !mdpr)
        return false;
    uint32_t duration = packets * (uint32_t)msPerPacket;
    Write32(mdpr + kMdprDuration, duration);
    if (Read32(prop + kPropDuration) < duration)
        Write32(prop + kPropDuration, duration);
    std::unique_ptr<FILE, FileCloser> file(fopen(path.c_str(), "r+b"));
    return file && fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() && fflush(file.get()) == 0;
}
