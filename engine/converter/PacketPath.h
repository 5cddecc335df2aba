// The per-packet path of the transcode loop: decoding, the frame decorations, cropping, scaling,
// padding and resampling, encoding and writing, and stream copy. Works on the stream records
// that TranscodeMain builds for one run of one job.
#pragma once

#include "engine/converter/TranscodeContext.h"

#include <stdint.h>
#include <stdio.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

extern "C"
{
#include <libavcodec/bsf.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
}

class CFFMpegEncoder;
class TranscodePipeline;

struct InputStreamRecord
{
    int fileIndex = 0;
    int streamIndex = 0;
    AVStream* stream = nullptr;
    AVCodecContext* decoder = nullptr; // owned
    AVFrame* frame = nullptr;          // owned, decoding scratch
    int decodingNeeded = 0;
    int64_t nextPts = AV_NOPTS_VALUE; // microseconds
    int64_t pts = 0;                  // microseconds
    int isStart = 1;
    int discard = 1;

    InputStreamRecord() = default;
    InputStreamRecord(const InputStreamRecord&) = delete;
    InputStreamRecord& operator=(const InputStreamRecord&) = delete;
    ~InputStreamRecord();
};

struct OutputStreamRecord
{
    int fileIndex = 0;
    int index = 0;
    int sourceIndex = 0;
    InputStreamRecord* syncStream = nullptr;
    AVStream* stream = nullptr;
    OutputStreamSetup* setup = nullptr;
    AVCodecContext* encoder = nullptr; // the setup's; owned by the transcode context
    int encodingNeeded = 0;
    int frameNumber = 0;
    int64_t syncOpts = 0;       // output clock in encoder time-base units
    double copiedSeconds = 0.0; // output time of a copied stream
    int gotKeyFrame = 0;
    int timeStarted = 0;

    // Video: crop bands of the source, pad bands of the target, the scaler and the target picture.
    int cropTop = 0, cropBottom = 0, cropLeft = 0, cropRight = 0;
    int padTop = 0, padBottom = 0, padLeft = 0, padRight = 0;
    int convertPicture = 0;
    SwsContext* scaler = nullptr; // owned
    AVFrame* picture = nullptr;   // owned, the encoder's size and format with the pad bands filled
    // Owned target pictures the encoders may still hold, taken again once they release them.
    std::vector<AVFrame*> sparePictures;
    int sourceWidth = 0, sourceHeight = 0, sourceFormat = -1;

    // Audio: the resampler (also converts sample format and channel layout) and the sample FIFO.
    SwrContext* resampler = nullptr; // owned
    AVChannelLayout resamplerLayout = {};
    int resamplerRate = 0, resamplerFormat = -1;
    AVAudioFifo* fifo = nullptr;       // owned
    AVFrame* convertedFrame = nullptr; // owned

    FILE* passLogFile = nullptr; // owned
    std::vector<AVBSFContext*> filters;
    AVPacket* packet = nullptr; // owned

    OutputStreamRecord() = default;
    OutputStreamRecord(const OutputStreamRecord&) = delete;
    OutputStreamRecord& operator=(const OutputStreamRecord&) = delete;
    ~OutputStreamRecord();
};

struct InputFileRecord
{
    int atEnd = 0;
    int tryAgain = 0;
    // Streams the run has records of. A demuxer may add streams while it reads (a transport
    // stream whose program gains a stream part-way): their packets are not the run's.
    int streamCount = 0;
};

// Everything one run works on.
struct TranscodeRun
{
    CFFMpegEncoder* job = nullptr;
    TranscodeContext* context = nullptr;
    std::vector<InputFileRecord> files;
    std::vector<InputStreamRecord*> inputStreams;   // owned
    std::vector<OutputStreamRecord*> outputStreams; // owned
    std::vector<int> inputStreamBase;               // index of each input file's first stream record
    TranscodePipeline* pipeline = nullptr;          // set while the stages run on threads of their own
    int64_t endTime = INT64_MAX; // microseconds: source times from here on belong to the next segment
    // The codecs' thread count: the job's -threads count, or when it left them automatic its share
    // of the cores beside the other running conversions.
    int codecThreads = 0;
    std::mutex statsLock; // the statistics file, written by each video encoder

    TranscodeRun() = default;
    TranscodeRun(const TranscodeRun&) = delete;
    TranscodeRun& operator=(const TranscodeRun&) = delete;
    ~TranscodeRun();
};

// Writes the message, releases the job's context and ends the run by an exception. While the
// stages run on threads of their own, it ends only the calling stage (StageFailure) and the
// pipeline ends the others before the context is released.
[[noreturn]] void TranscodeFail(TranscodeRun* run, const char* format, ...) __attribute__((format(printf, 2, 3)));
struct StageFailure
{
};

struct FrameFree
{
    void operator()(AVFrame* frame) const
    {
        av_frame_free(&frame);
    }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;

// Packets written while a collector is set on the calling thread go into it instead of the files:
// the pipeline's muxer writes them later, in the order of the one-thread run.
struct PacketCollector
{
    std::vector<std::pair<int, AVPacket*>> packets; // output file, owned packet
    PacketCollector() = default;
    PacketCollector(const PacketCollector&) = delete;
    PacketCollector& operator=(const PacketCollector&) = delete;
    ~PacketCollector();
};
void SetThreadPacketCollector(PacketCollector* collector);
// Writes a finished packet into its output file; failures end the run.
void MuxPacket(TranscodeRun* run, int fileIndex, AVPacket* packet);

// One frame for an encoder, with the frame number and output clock its statistics line shows.
struct EncodeFrame
{
    FramePtr frame;
    int frameNumber = 0;
};
// What one encoder is given in one go: frames, and with flush set, the end of its input.
struct EncodeWork
{
    std::vector<EncodeFrame> frames;
    bool flush = false;
    int flushFrameNumber = 0;
    int64_t flushClock = 0;
    PacketCollector* collector = nullptr; // where the packets go; null: into the files
};
// What one output stream does with a decoded picture: frameCount copies from firstPts on.
struct VideoPlanEntry
{
    OutputStreamRecord* ost = nullptr;
    int frameCount = 0;
    int64_t firstPts = 0;
    int firstFrameNumber = 0;
    PacketCollector* collector = nullptr;
};
// A decoded picture and its output streams' plans; without a picture, the end of the streams
// (each entry's first frame number and pts are then the encoder's final ones).
struct VideoWork
{
    FramePtr picture;
    int64_t pts = 0; // microseconds
    std::vector<VideoPlanEntry> entries;
};

// 0, or negative when decoding failed (the loop drops the packet). packet null: flush the decoder.
int ProcessInputPacket(TranscodeRun* run, InputStreamRecord* ist, AVPacket* packet);
// Decorates (and deinterlaces) a decoded picture in place, in buffers of its own.
void PrepareVideoFrame(TranscodeRun* run, AVFrame* picture, int64_t pts);
// The picture part of a video frame: decorations, then cropping, scaling and padding for each
// output stream, whose encoders get the results.
void RunVideoWork(TranscodeRun* run, InputStreamRecord* ist, VideoWork& work);
// The encoder part: sends the frames (and the end) to the output stream's encoder and writes
// what it gives out.
void RunEncodeWork(TranscodeRun* run, OutputStreamRecord* ost, EncodeWork& work);
// What the encoder reported of the last frame it gave out.
struct EncodedFrameStats
{
    int quality = 0;
    int pictureType = 0;
    bool hasError = false;
    uint64_t error = 0; // sum of squared errors of the luma plane
};
void WriteVideoStats(TranscodeRun* run, OutputStreamRecord* ost, int frameNumber, double seconds, int frameSize,
                     const EncodedFrameStats& stats);
void EncodeAudio(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, AVFrame* samples);
void EncodeSubtitle(TranscodeRun* run, OutputStreamRecord* ost, InputStreamRecord* ist, AVSubtitle* subtitle,
                    int64_t pts);
void WritePacket(TranscodeRun* run, OutputStreamRecord* ost, AVPacket* packet);
// Gives out what the encoders still hold (audio left in the FIFO and delayed pictures).
void FlushEncoders(TranscodeRun* run);
// The target picture of a scaled or padded video stream: the encoder's size and format, filled
// with the pad colour when the stream has pad bands.
void AllocateTargetPicture(TranscodeRun* run, OutputStreamRecord* ost);
// Fills a whole picture with the pad colour (Y, U, V); pictures that are not YUV become black.
void FillPadColor(AVFrame* picture, const int color[3]);
// Fills luma columns [fromX, toX) of a planar 8-bit YUV picture with the pad colour.
void FillPadColumns(AVFrame* picture, const int color[3], int fromX, int toX);
// Output time of a stream in seconds.
double OutputStreamSeconds(const OutputStreamRecord* ost);
