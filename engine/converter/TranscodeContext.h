// One converter job's own copy of everything the transcode loop needs: files, streams, option
// values, option contexts and work buffers. Filled by ParseJobCommandLine, emptied by the release.
#pragma once

#include <stdint.h>
#include <stdio.h>

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

class CFFMpegEncoder;

const int kMaxConverterFiles = 20;
const int kMaxConverterStreams = 400;
const int kMaxStreamsPerFile = 20;
const int kMaxMetaDataMaps = 20;
const int kCodecOptionContextCount = 5; // video, audio, data, subtitle, attachment
const int kDefaultEncodeBufferSize = 262144;

struct StreamMap
{
    int file;
    int stream;
    int syncFile;
    int syncStream;
};

struct MetaDataMap
{
    int outputFile;
    int inputFile;
};

// How one output stream was set up by the parse: its encoder context (configured, not yet opened)
// or stream copy, the codec-private options handed to the encoder at open, and its bit-stream filters.
struct OutputStreamSetup
{
    AVCodecContext* codecContext; // owned; null for stream copy
    const AVCodec* encoder;       // null for stream copy
    int streamCopy;
    AVDictionary* privateOptions; // owned
    char* bitstreamFilters;       // owned, comma-separated filter names, or null
    float displayAspectRatio;     // stream copy of video: the aspect ratio to store, 0 for the input's
};

struct TranscodeContext
{
    AVFormatContext* inputFiles[kMaxConverterFiles];
    int inputFileCount;
    int64_t inputTimestampOffsets[kMaxConverterFiles];
    double inputTimestampScales[kMaxConverterFiles][kMaxStreamsPerFile];
    const AVCodec* inputDecoders[kMaxConverterStreams];
    AVDictionary* inputDecoderOptions[kMaxConverterStreams]; // owned; the catch-all decoding options
    int inputDecoderCount;
    int threadCount;

    AVFormatContext* outputFiles[kMaxConverterFiles];
    int outputFileCount;
    const AVCodec* outputEncoders[kMaxConverterStreams];
    int outputEncoderCount;
    OutputStreamSetup outputStreams[kMaxConverterFiles][kMaxStreamsPerFile];

    StreamMap streamMaps[kMaxConverterStreams];
    int streamMapCount;
    MetaDataMap metaDataMaps[kMaxMetaDataMaps];
    int metaDataMapCount;

    int padTop, padBottom, padLeft, padRight;
    int padColor[3]; // Y, U, V
    int cropTop, cropBottom, cropLeft, cropRight;
    int frameLimits[4]; // video, audio, data, subtitle
    int sameQuality;
    int deinterlace;
    int topFieldFirst; // -1: from the input
    int meThreshold;
    int64_t recordingTime; // microseconds; INT64_MAX without a limit
    int64_t startTime;     // microseconds
    char* passLogPrefix;   // owned; never null after a parse (one prefix per job)
    int videoSyncMethod;
    int audioSyncMethod;
    float audioDriftThreshold;
    int copyTimestamps;
    int shortest;
    char* statsFileName; // owned
    FILE* statsFile;
    int programId;
    int copyInitialNonKeyFrames;
    int audioVolume; // 256: unchanged
    int64_t videoBytesWritten;
    int inputSync;
    int pipelined;         // the stages of the loop on threads of their own (1) or all on the job's thread (0)
    int64_t fileSizeLimit; // bytes; 0: no limit
    float dtsDeltaThreshold;

    int encodeBufferSize;
    uint8_t* encodeBuffer;

    SwsContext* scalerOptions;                              // owned
    AVCodecContext* codecOptions[kCodecOptionContextCount]; // owned

    uint8_t* audioInputBuffer;
    uint8_t* audioOutputBuffer;
    uint8_t* sampleConversionBuffer;
    uint8_t* driftSilenceBuffer;
    uint8_t* subtitleOutputBuffer;
    uint8_t* decodedAudioBuffer;
    int decodedAudioBufferSize;
};

// Whether a run that starts now is pipelined: while g_pipelinedConversion is set and the
// environment variable RW_TRANSCODE_ONE_THREAD is not 1 (the one-thread run, for comparisons
// and diagnosis).
int TranscodePipelined();

// Gives the context its empty state (no files, no buffers, no option contexts).
void InitTranscodeContext(TranscodeContext* context);

// Closes and frees everything the context owns and leaves it empty; a second call frees nothing.
void FreeTranscodeContextContents(TranscodeContext* context);

// Parses one job's command line under g_optionParserLock (held by the caller) into the job's
// context. 0 when the context was filled, -1 when the parse failed (the context stays empty).
int ParseJobCommandLine(const char* commandLine, TranscodeContext* context);

// Runs one conversion of the context's inputs into its outputs for the job. 0 after a run that
// ended normally, -22 after a setup failure, -12 when memory ran out during the setup; fatal
// errors later release the job's context and throw (ReleaseTranscodeContext with throwAfter 1).
int TranscodeMain(CFFMpegEncoder* job, TranscodeContext* context);

// Under the job lock: state 0, frees the job's transcode context; throws -1 when throwAfter is set.
int ReleaseTranscodeContext(CFFMpegEncoder* job, int throwAfter);
