#include "engine/media/MediaInfo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace
{
// Codec ids and bit widths of the uncompressed PCM formats (the codec-id numbering is stable).
struct PcmBits
{
    int first;
    int last;
    int bits;
};
const PcmBits kPcmBits[] = {
    {0x10004, 0x10007, 8},  {0x10011, 0x10011, 8},  {0x10000, 0x10003, 16}, {0x10012, 0x10012, 16},
    {0x1000C, 0x10010, 24}, {0x10008, 0x1000B, 32}, {0x10014, 0x10015, 32}, {0x10016, 0x10017, 64},
};

bool IsPrintableByte(unsigned value)
{
    return value >= 0x20 && value < 0x7F;
}

void CopyName(char destination[kMediaInfoTextSize], const char* name)
{
    std::snprintf(destination, kMediaInfoTextSize, "%s", name);
}
}

void GetCodecDisplayName(const AVCodecContext* context, char destination[kMediaInfoTextSize])
{
    const AVCodec* decoder = avcodec_find_decoder(context->codec_id);
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(context->codec_id);
    unsigned tag = context->codec_tag;
    if (decoder)
        CopyName(destination, decoder->name);
    else if (context->codec_id == AV_CODEC_ID_MPEG2TS)
        CopyName(destination, "mpeg2ts");
    else if (descriptor && descriptor->name && *descriptor->name)
        CopyName(destination, descriptor->name);
    else if (IsPrintableByte(tag & 0xFF) && IsPrintableByte((tag >> 8) & 0xFF) && IsPrintableByte((tag >> 16) & 0xFF) &&
             IsPrintableByte(tag >> 24))
        std::snprintf(destination, kMediaInfoTextSize, "%c%c%c%c / 0x%04X", tag & 0xFF, (tag >> 8) & 0xFF,
                      (tag >> 16) & 0xFF, tag >> 24, tag);
    else
        std::snprintf(destination, kMediaInfoTextSize, "0x%04x", tag);
}

int64_t GetAudioBitRate(const AVCodecContext* context)
{
    int id = context->codec_id;
    for (const PcmBits& range : kPcmBits)
        if (id >= range.first && id <= range.last)
            return static_cast<int64_t>(context->sample_rate) * context->ch_layout.nb_channels * range.bits;
    return context->bit_rate;
}

int BitRateField(int64_t bitsPerSecond)
{
    return static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(bitsPerSecond, INT_MAX)));
}

float GetVideoFrameRate(const AVStream* stream)
{
    if (stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
        return -1.0f;
    AVRational rate = stream->r_frame_rate;
    if (rate.num && rate.den)
        return static_cast<float>(static_cast<double>(rate.num) / rate.den);
    if (stream->time_base.num && stream->time_base.den)
        return static_cast<float>(static_cast<double>(stream->time_base.den) / stream->time_base.num);
    return -1.0f;
}
