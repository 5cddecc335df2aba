// Reads the codec headers that a device's decoder checks but FFmpeg's decoders forgive: the H.264
// sequence parameter set, the MPEG-4 visual object sequence and the AAC AudioSpecificConfig.
// Used by the conformance tests to read converted files back.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace streamheaders
{
// The bits of a byte string, most significant first; reads past the end give zeros.
class BitReader
{
  public:
    BitReader(const uint8_t* data, size_t size) : m_data(data), m_size(size)
    {
    }
    unsigned Bit()
    {
        const size_t byte = m_position >> 3;
        const unsigned bit = byte < m_size ? (m_data[byte] >> (7 - (m_position & 7))) & 1 : 0;
        ++m_position;
        return bit;
    }
    unsigned Bits(int count)
    {
        unsigned value = 0;
        while (count-- > 0)
            value = value << 1 | Bit();
        return value;
    }
    // Exp-Golomb codes.
    unsigned Ue()
    {
        int zeros = 0;
        while (!Bit() && zeros < 32)
            ++zeros;
        return zeros ? ((1u << zeros) - 1) + Bits(zeros) : 0;
    }
    int Se()
    {
        const unsigned code = Ue();
        return code & 1 ? (int)((code + 1) / 2) : -(int)(code / 2);
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

struct H264Sps
{
    bool found = false;
    int profile = 0;              // profile_idc: 66 Baseline, 77 Main, 100 High ...
    bool constrainedSet1 = false; // a Baseline stream that Main decoders play as well
    int level = 0;                // level_idc: 13 is level 1.3
    int chromaFormat = 1;         // 1 is 4:2:0
    int bitDepth = 8;
    int referenceFrames = 0;
};

// The NAL unit's payload without its emulation prevention bytes (00 00 03).
inline std::vector<uint8_t> Unescape(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> out;
    int zeros = 0;
    for (size_t i = 0; i < size; ++i)
    {
        if (zeros >= 2 && data[i] == 3)
        {
            zeros = 0;
            continue;
        }
        zeros = data[i] ? 0 : zeros + 1;
        out.push_back(data[i]);
    }
    return out;
}

inline void SkipScalingList(BitReader& bits, int size)
{
    int last = 8, next = 8;
    for (int j = 0; j < size; ++j)
    {
        if (next)
            next = (last + bits.Se() + 256) % 256;
        last = next ? next : last;
    }
}

// An SPS NAL unit, its header byte first.
inline H264Sps ParseSps(const uint8_t* nal, size_t size)
{
    H264Sps sps;
    const std::vector<uint8_t> payload = Unescape(nal + 1, size - 1);
    BitReader bits(payload.data(), payload.size());
    sps.profile = (int)bits.Bits(8);
    const unsigned constraints = bits.Bits(8);
    sps.constrainedSet1 = (constraints & 0x40) != 0;
    sps.level = (int)bits.Bits(8);
    bits.Ue(); // seq_parameter_set_id
    static const int kHighProfiles[] = {100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135};
    for (int high : kHighProfiles)
    {
        if (sps.profile != high)
            continue;
        sps.chromaFormat = (int)bits.Ue();
        if (sps.chromaFormat == 3)
            bits.Bit();
        sps.bitDepth = 8 + (int)bits.Ue();
        bits.Ue(); // chroma bit depth
        bits.Bit();
        if (bits.Bit())
            for (int i = 0; i < (sps.chromaFormat != 3 ? 8 : 12); ++i)
                if (bits.Bit())
                    SkipScalingList(bits, i < 6 ? 16 : 64);
    }
    bits.Ue(); // log2_max_frame_num_minus4
    const unsigned pocType = bits.Ue();
    if (pocType == 0)
        bits.Ue();
    else if (pocType == 1)
    {
        bits.Bit();
        bits.Se();
        bits.Se();
        for (unsigned n = bits.Ue(), i = 0; i < n && i < 256; ++i)
            bits.Se();
    }
    sps.referenceFrames = (int)bits.Ue();
    sps.found = true;
    return sps;
}

// The first SPS of an avcC record or of an Annex B byte stream.
inline H264Sps FindSps(const uint8_t* data, size_t size)
{
    if (size > 8 && data[0] == 1)
    {
        const size_t length = (size_t)data[6] << 8 | data[7];
        if ((data[5] & 0x1f) && 8 + length <= size)
            return ParseSps(data + 8, length);
        return H264Sps();
    }
    for (size_t i = 0; i + 3 < size; ++i)
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && (data[i + 3] & 0x1f) == 7)
        {
            size_t end = i + 3;
            while (end + 2 < size && !(data[end] == 0 && data[end + 1] == 0 && data[end + 2] <= 1))
                ++end;
            return ParseSps(data + i + 3, (end + 2 < size ? end : size) - (i + 3));
        }
    return H264Sps();
}

// The profile_and_level_indication of the first MPEG-4 visual object sequence header, or -1.
inline int FindMpeg4ProfileLevel(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i + 4 < size; ++i)
        if (data[i] == 0 && data[i + 1] == 0 && data[i + 2] == 1 && data[i + 3] == 0xB0)
            return data[i + 4];
    return -1;
}

// Simple Profile levels 0-6 and 0b; 0xF0-0xF7 are Advanced Simple.
inline bool IsMpeg4Simple(int profileLevel)
{
    return (profileLevel >= 0x01 && profileLevel <= 0x06) || profileLevel == 0x08;
}
inline bool IsMpeg4AdvancedSimple(int profileLevel)
{
    return profileLevel >= 0xF0 && profileLevel <= 0xF7;
}

// The audio object type of an AudioSpecificConfig (2 is AAC-LC, 3 SSR), 0 when there is none.
inline int AacObjectType(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    BitReader bits(data, size);
    const int type = (int)bits.Bits(5);
    return type == 31 ? 32 + (int)bits.Bits(6) : type;
}
} // namespace streamheaders
