#include "tools/engine-run/EngineRunMedia.h"

#include "engine/Engine.h"
#include "engine/media/MediaInfo.h"
#include "engine/JobSettings.h"
#include "tools/engine-run/DriverPaths.h"

#include <stdio.h>
#include <string.h>

namespace
{
const int kNotAMediaCommand = -1;
const int kExitSuccess = 0;
const int kExitFailure = 1;

void PrintInfo(const MediaInfo& info)
{
    printf("duration=%.0f\n", info.duration);
    printf("size=%lld\n", static_cast<long long>(info.fileSize));
    printf("container=%s\n", info.container);
    if (info.hasVideo)
    {
        printf("video.codec=%s\n", info.videoCodec);
        printf("video.width=%d\n", info.width);
        printf("video.height=%d\n", info.height);
        printf("video.frame_rate=%g\n", info.frameRate);
        printf("video.pixel_format=%s\n", info.pixelFormat);
        printf("video.bit_rate=%d\n", info.videoBitRate);
    }
    if (info.hasAudio)
    {
        printf("audio.codec=%s\n", info.audioCodec);
        printf("audio.sample_rate=%d\n", info.sampleRate);
        printf("audio.channels=%d\n", info.channels);
        printf("audio.bits_per_sample=%d\n", info.bitsPerSample);
        printf("audio.sample_format=%s\n", info.sampleFormat);
        printf("audio.bit_rate=%d\n", info.audioBitRate);
    }
    if (info.hasSubtitles)
        printf("subtitle.codec=%s\n", info.subtitleCodec);
}
}

int RunMediaCommand(int argc, char** argv)
{
    if (argc >= 2 && strcmp(argv[1], "--info") == 0)
    {
        if (argc != 3)
        {
            fprintf(stderr, "usage: engine-run --info SOURCE\n");
            return kExitFailure;
        }
        MediaInfo info;
        char source[kJobPathCapacity];
        if (!DriverSourcePath(argv[2], source, kJobPathCapacity) || EngineGetMediaInfo(source, &info) != 0)
        {
            fprintf(stderr, "%s: cannot be opened or probed\n", argv[2]);
            return kExitFailure;
        }
        PrintInfo(info);
        return kExitSuccess;
    }
    if (argc >= 2 && strcmp(argv[1], "--thumb") == 0)
    {
        if (argc != 4)
        {
            fprintf(stderr, "usage: engine-run --thumb SOURCE OUT.bmp\n");
            return kExitFailure;
        }
        char source[kJobPathCapacity], output[kJobPathCapacity];
        CString created;
        if (!DriverSourcePath(argv[2], source, kJobPathCapacity) ||
            !DriverOutputPath(argv[3], output, kJobPathCapacity, &created) || EngineMakeThumbnail(source, output) != 0)
        {
            DriverRemoveIfEmpty(created);
            fprintf(stderr, "%s: no thumbnail written\n", argv[2]);
            return kExitFailure;
        }
        return kExitSuccess;
    }
    return kNotAMediaCommand;
}
