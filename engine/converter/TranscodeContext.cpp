#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "engine/converter/TranscodeContext.h"

#include "engine/Engine.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

extern "C"
{
#include <libavutil/dict.h>
#include <libavutil/mem.h>
}

int TranscodePipelined()
{
    char value[8] = "";
    DWORD length = ::GetEnvironmentVariableA("RW_TRANSCODE_ONE_THREAD", value, sizeof(value));
    bool oneThread = length > 0 && length < sizeof(value) && !strcmp(value, "1");
    return g_pipelinedConversion && !oneThread ? 1 : 0;
}

void InitTranscodeContext(TranscodeContext* context)
{
    memset(context, 0, sizeof(*context));
    context->topFieldFirst = -1;
    context->recordingTime = INT64_MAX;
    context->audioVolume = 256;
    context->encodeBufferSize = kDefaultEncodeBufferSize;
}

static void CloseOutputFile(AVFormatContext* file)
{
    if (!file)
        return;
    if (!(file->oformat->flags & AVFMT_NOFILE) && file->pb)
        avio_closep(&file->pb);
    avformat_free_context(file);
}

static void FreeOutputStreamSetup(OutputStreamSetup* setup)
{
    avcodec_free_context(&setup->codecContext);
    av_dict_free(&setup->privateOptions);
    free(setup->bitstreamFilters);
    memset(setup, 0, sizeof(*setup));
}

void FreeTranscodeContextContents(TranscodeContext* context)
{
    for (int i = 0; i < context->outputFileCount; ++i)
        CloseOutputFile(context->outputFiles[i]);
    for (int f = 0; f < kMaxConverterFiles; ++f)
        for (int s = 0; s < kMaxStreamsPerFile; ++s)
            FreeOutputStreamSetup(&context->outputStreams[f][s]);
    for (int i = 0; i < context->inputFileCount; ++i)
        avformat_close_input(&context->inputFiles[i]);
    for (AVDictionary*& options : context->inputDecoderOptions)
        av_dict_free(&options);
    if (context->statsFile)
        fclose(context->statsFile);
    free(context->passLogPrefix);
    free(context->statsFileName);
    av_free(context->encodeBuffer);
    av_free(context->audioInputBuffer);
    av_free(context->audioOutputBuffer);
    av_free(context->sampleConversionBuffer);
    av_free(context->driftSilenceBuffer);
    av_free(context->subtitleOutputBuffer);
    av_free(context->decodedAudioBuffer);
    sws_freeContext(context->scalerOptions);
    for (AVCodecContext*& options : context->codecOptions)
        avcodec_free_context(&options);
    InitTranscodeContext(context);
}
