#include "engine/preview/PlayerState.h"

#include "engine/CodecLock.h"
#include "engine/Engine.h"
#include "engine/preview/PlayThread.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mem.h>
#include <libavutil/time.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <SDL.h>
#undef main

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

// Refresh intervals of the cases without a picture to wait for.
const int kPlayerRefreshSoonMs = 1;
const int kPlayerWaveformRefreshMs = 40;
const int kPlayerIdleRefreshMs = 100;
// Silence handed to SDL when no sound could be decoded.
const int kPlayerSilenceBytes = 1024;
const int kPlayerWaveformSearch = 1000;
// Waits of the read and video threads.
const int kPlayerShortWaitMs = 10;
const int kPlayerLongWaitMs = 100;

static void ScheduleRefresh(PlayerState* is, int delayMs);

int64_t PlayerNow()
{
    return av_gettime_relative();
}

static double NowSeconds()
{
    return PlayerNow() / 1000000.0;
}

static int Modulo(int a, int b)
{
    a %= b;
    return a < 0 ? a + b : a;
}

// ---------------------------------------------------------------------------------------------
// Clocks

double PlayerAudioClock(PlayerState* is)
{
    double pts = is->audioClock;
    int bytesPerSec = is->audioSampleRate * 2 * is->audioChannels;
    if (is->audioSt && bytesPerSec > 0)
        pts -= static_cast<double>(is->audioBufSize - is->audioBufIndex) / bytesPerSec;
    return pts;
}

double PlayerVideoClock(PlayerState* is)
{
    if (is->paused)
        return is->videoCurrentPts;
    return is->videoCurrentPts + (PlayerNow() - is->videoCurrentPtsTime) / 1000000.0;
}

double PlayerMasterClock(PlayerState* is)
{
    if (is->audioSt)
        return PlayerAudioClock(is);
    return PlayerVideoClock(is);
}

void PlayerRequestSeek(PlayerState* is, int64_t offset)
{
    is->seekOffset = offset < 0 ? 0 : offset;
}

void PlayerResume(PlayerState* is)
{
    // The picture on screen keeps its time; the wall time spent since it was shown moves the
    // frame timer on, so that the next picture follows without a jump.
    int64_t now = PlayerNow();
    is->videoCurrentPts = PlayerVideoClock(is);
    is->frameTimer += (now - is->videoCurrentPtsTime) / 1000000.0;
    is->videoCurrentPtsTime = now;
    is->paused = 0;
}

// ---------------------------------------------------------------------------------------------
// Pictures

static void AdvancePictureQueue(PlayerState* is)
{
    std::lock_guard<std::mutex> lock(is->pictqMutex);
    if (++is->pictqRindex == kPlayerPictureQueueSize)
        is->pictqRindex = 0;
    is->pictqSize--;
    is->pictqCond.notify_all();
}

void PlayerAllocPicture(PlayerState* is)
{
    PlayerPicture* vp = &is->pictq[is->pictqWindex];
    if (vp->bmp)
        SDL_FreeYUVOverlay(vp->bmp);
    vp->bmp = nullptr;
    if (g_previewScreen && is->videoCtx)
        vp->bmp = SDL_CreateYUVOverlay(is->videoCtx->width, is->videoCtx->height, SDL_YV12_OVERLAY, g_previewScreen);
    vp->width = is->videoCtx ? is->videoCtx->width : 0;
    vp->height = is->videoCtx ? is->videoCtx->height : 0;
    std::lock_guard<std::mutex> lock(is->pictqMutex);
    vp->allocated = true;
    is->pictqCond.notify_all();
}

static int QueuePicture(PlayerState* is, AVFrame* frame, double pts)
{
    PlayerPicture* vp;
    {
        std::unique_lock<std::mutex> lock(is->pictqMutex);
        is->pictqCond.wait(
            lock, [is] { return is->pictqSize < kPlayerPictureQueueSize || PlayerPacketQueueAborted(&is->videoq); });
        if (PlayerPacketQueueAborted(&is->videoq))
            return -1;
        vp = &is->pictq[is->pictqWindex];
    }

    AVCodecContext* ctx = is->videoCtx;
    if (!vp->bmp || vp->width != ctx->width || vp->height != ctx->height)
    {
        {
            std::lock_guard<std::mutex> lock(is->pictqMutex);
            vp->allocated = false;
        }
        SDL_Event event = {};
        event.type = kPlayerEventAlloc;
        event.user.data1 = is;
        SDL_PushEvent(&event);
        std::unique_lock<std::mutex> lock(is->pictqMutex);
        is->pictqCond.wait(lock, [is, vp] { return vp->allocated || PlayerPacketQueueAborted(&is->videoq); });
        if (PlayerPacketQueueAborted(&is->videoq))
            return -1;
    }
    if (!vp->bmp)
        return 0; // no overlay on this surface: the picture is dropped, the next one tries again

    SDL_LockYUVOverlay(vp->bmp);
    // A YV12 overlay stores the V plane before the U plane.
    uint8_t* dst[4] = {vp->bmp->pixels[0], vp->bmp->pixels[2], vp->bmp->pixels[1], nullptr};
    int dstStride[4] = {vp->bmp->pitches[0], vp->bmp->pitches[2], vp->bmp->pitches[1], 0};
    is->imgConvertCtx = sws_getCachedContext(is->imgConvertCtx, frame->width, frame->height,
                                             static_cast<AVPixelFormat>(frame->format), ctx->width, ctx->height,
                                             AV_PIX_FMT_YUV420P, kPlayerScalerFlags, nullptr, nullptr, nullptr);
    if (!is->imgConvertCtx)
    {
        SDL_UnlockYUVOverlay(vp->bmp);
        fprintf(stderr, "Cannot initialize the conversion context\n");
        return -1;
    }
    sws_scale(is->imgConvertCtx, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    SDL_UnlockYUVOverlay(vp->bmp);

    vp->pts = pts;
    std::lock_guard<std::mutex> lock(is->pictqMutex);
    vp->serial = is->videoSerial;
    if (++is->pictqWindex == kPlayerPictureQueueSize)
        is->pictqWindex = 0;
    is->pictqSize++;
    return 0;
}

static int OutputPicture(PlayerState* is, AVFrame* frame, double pts)
{
    if (pts != 0)
        is->videoClock = pts;
    else
        pts = is->videoClock;
    AVRational rate = av_guess_frame_rate(is->ic, is->videoSt, frame);
    double frameDelay = (rate.num && rate.den) ? av_q2d(av_inv_q(rate)) : kPlayerInitialFrameDelay;
    frameDelay += frame->repeat_pict * (frameDelay * 0.5);
    is->videoClock += frameDelay;
    return QueuePicture(is, frame, pts);
}

// Sends one packet (null: drain the decoder) and queues every picture that comes out.
static int DecodeVideo(PlayerState* is, AVFrame* frame, const AVPacket* pkt)
{
    avcodec_send_packet(is->videoCtx, pkt);
    while (avcodec_receive_frame(is->videoCtx, frame) == 0)
    {
        double pts = 0;
        if (frame->best_effort_timestamp != AV_NOPTS_VALUE)
            pts = frame->best_effort_timestamp * av_q2d(is->videoSt->time_base);
        int ret = OutputPicture(is, frame, pts);
        av_frame_unref(frame);
        if (ret < 0)
            return -1;
    }
    return 0;
}

static void PlayerVideoThread(PlayerState* is)
{
    CThread::MarkWin32Thread();
    AVFrame* frame = av_frame_alloc();
    AVPacket* pkt = av_packet_alloc();
    while (frame && pkt)
    {
        while (is->paused && !PlayerPacketQueueAborted(&is->videoq))
            SDL_Delay(kPlayerShortWaitMs);
        int got = PlayerPacketQueueGet(&is->videoq, pkt);
        if (got == kPlayerQueueAborted)
            break;
        if (got == kPlayerQueueFlush)
        {
            avcodec_flush_buffers(is->videoCtx);
            // The generation of the newest seek, not a count of marks: a seek that follows another
            // at once flushes the earlier mark out of the queue before this thread sees it.
            is->videoSerial = is->seekSerial.load();
            continue;
        }
        int ret;
        if (got == kPlayerQueueEnd)
        {
            // End of the file: show the pictures the decoder still holds, then make it ready
            // for the packets that a later seek brings.
            ret = DecodeVideo(is, frame, nullptr);
            avcodec_flush_buffers(is->videoCtx);
        }
        else
        {
            ret = DecodeVideo(is, frame, pkt);
            av_packet_unref(pkt);
        }
        if (ret < 0)
            break;
    }
    av_packet_free(&pkt);
    av_frame_free(&frame);
}

static DWORD WINAPI PlayerVideoThreadProc(void* param)
{
    try
    {
        PlayerVideoThread(static_cast<PlayerState*>(param));
    }
    catch (...)
    {
    }
    return 0;
}

static double FrameDelay(PlayerState* is, double pts)
{
    double delay = pts - is->frameLastPts;
    if (delay <= 0 || delay >= kPlayerNoSyncThreshold)
        delay = is->frameLastDelay;
    else
        is->frameLastDelay = delay;
    is->frameLastPts = pts;

    if (is->avSyncType == kPlayerSyncAudioMaster && is->audioSt)
    {
        double diff = pts - PlayerMasterClock(is);
        double threshold = delay > kPlayerSyncThreshold ? delay : kPlayerSyncThreshold;
        if (std::fabs(diff) < kPlayerNoSyncThreshold)
        {
            if (diff <= -threshold)
                delay = 0;
            else if (diff >= threshold)
                delay = 2 * delay;
        }
    }
    is->frameTimer += delay;
    double actual = is->frameTimer - NowSeconds();
    return actual < kPlayerMinFrameDelay ? kPlayerMinFrameDelay : actual;
}

void PlayerRefresh(PlayerState* is)
{
    if (is->videoSt)
    {
        int size;
        {
            std::lock_guard<std::mutex> lock(is->pictqMutex);
            size = is->pictqSize;
        }
        if (size == 0)
        {
            ScheduleRefresh(is, kPlayerRefreshSoonMs);
            return;
        }
        PlayerPicture* vp = &is->pictq[is->pictqRindex];
        if (vp->serial != is->seekSerial)
        {
            // Decoded before the last seek: never shown.
            AdvancePictureQueue(is);
            ScheduleRefresh(is, kPlayerRefreshSoonMs);
            return;
        }
        if (vp->serial != is->frameTimerSerial)
        {
            // The first picture after a seek is due now: the jump in time is no delay.
            is->frameTimerSerial = vp->serial;
            is->frameTimer = NowSeconds();
            is->frameLastPts = vp->pts;
        }
        is->videoCurrentPts = vp->pts;
        is->videoCurrentPtsTime = PlayerNow();
        double delay = FrameDelay(is, vp->pts);
        int ms = static_cast<int>(delay * 1000 + 0.5);
        ScheduleRefresh(is, ms < 1 ? 1 : ms);
        PlayerDisplay(is);
        AdvancePictureQueue(is);
    }
    else if (is->audioSt)
    {
        ScheduleRefresh(is, kPlayerWaveformRefreshMs);
        PlayerDisplay(is);
    }
    else
    {
        ScheduleRefresh(is, kPlayerIdleRefreshMs);
    }
}

bool PlayerShowPicture(PlayerState* is, SDL_Rect* drawn)
{
    PlayerPicture* vp = &is->pictq[is->pictqRindex];
    if (!vp->bmp || !is->videoCtx || is->videoCtx->height <= 0)
        return false;

    float aspect = 0;
    if (is->videoSt->sample_aspect_ratio.num)
        aspect = av_q2d(is->videoSt->sample_aspect_ratio);
    else if (is->videoCtx->sample_aspect_ratio.num)
        aspect = av_q2d(is->videoCtx->sample_aspect_ratio);
    if (aspect <= 0)
        aspect = 1;
    aspect *= static_cast<float>(is->videoCtx->width) / is->videoCtx->height;

    PlayerSaveSnapshot(vp);

    int height = is->height;
    int width = static_cast<int>(std::rint(height * aspect)) & ~1;
    if (width > is->width)
    {
        width = is->width;
        height = static_cast<int>(std::rint(width / aspect)) & ~1;
    }
    SDL_Rect rect;
    rect.x = static_cast<Sint16>(is->xleft + (is->width - width) / 2);
    rect.y = static_cast<Sint16>(is->ytop + (is->height - height) / 2);
    rect.w = static_cast<Uint16>(width);
    rect.h = static_cast<Uint16>(height);
    SDL_DisplayYUVOverlay(vp->bmp, &rect);
    *drawn = rect;
    return true;
}

void PlayerShowWaveform(PlayerState* is, SDL_Rect* drawn)
{
    SDL_Surface* screen = g_previewScreen;
    int channels = is->audioChannels;
    int w = is->width;
    int h = is->height;
    if (!screen || channels <= 0 || w <= 0 || h <= 0)
        return;

    int start;
    if (!is->paused)
    {
        int delay = (is->audioBufSize - is->audioBufIndex) / (2 * channels);
        delay += static_cast<int>((PlayerNow() - is->audioCallbackTime) * is->audioSampleRate / 1000000);
        delay -= w / 2;
        if (delay < w)
            delay = w;
        int x = Modulo(is->sampleArrayIndex - delay * channels, kPlayerSampleRingSize);
        start = x;
        int best = INT32_MIN;
        // Start at a rising zero crossing so that a steady tone stands still on screen.
        for (int i = 0; i < kPlayerWaveformSearch; i += channels)
        {
            int idx = Modulo(x - i, kPlayerSampleRingSize);
            int a = is->sampleArray[idx];
            int b = is->sampleArray[(idx + 4 * channels) % kPlayerSampleRingSize];
            int c = is->sampleArray[(idx + 5 * channels) % kPlayerSampleRingSize];
            int d = is->sampleArray[(idx + 9 * channels) % kPlayerSampleRingSize];
            int score = a - d;
            if (best < score && (b ^ c) < 0)
            {
                best = score;
                start = idx;
            }
        }
        is->lastWaveformStart = start;
    }
    else
    {
        start = is->lastWaveformStart;
    }

    SDL_Rect all = {static_cast<Sint16>(is->xleft), static_cast<Sint16>(is->ytop), static_cast<Uint16>(w),
                    static_cast<Uint16>(h)};
    SDL_FillRect(screen, &all, SDL_MapRGB(screen->format, 0, 0, 0));
    Uint32 white = SDL_MapRGB(screen->format, 0xff, 0xff, 0xff);
    int channelHeight = h / channels;
    int scale = channelHeight * 9 / 20;
    for (int ch = 0; ch < channels; ch++)
    {
        int i = start + ch;
        int centre = is->ytop + ch * channelHeight + channelHeight / 2;
        for (int x = 0; x < w; x++)
        {
            int y = (is->sampleArray[i % kPlayerSampleRingSize] * scale) >> 15;
            int top = centre;
            if (y < 0)
            {
                y = -y;
                top = centre - y;
            }
            SDL_Rect bar = {static_cast<Sint16>(is->xleft + x), static_cast<Sint16>(top), 1, static_cast<Uint16>(y)};
            SDL_FillRect(screen, &bar, white);
            i += channels;
            if (i >= kPlayerSampleRingSize)
                i -= kPlayerSampleRingSize;
        }
    }
    Uint32 blue = SDL_MapRGB(screen->format, 0, 0, 0xff);
    for (int ch = 1; ch < channels; ch++)
    {
        SDL_Rect line = {static_cast<Sint16>(is->xleft), static_cast<Sint16>(is->ytop + ch * channelHeight),
                         static_cast<Uint16>(w), 1};
        SDL_FillRect(screen, &line, blue);
    }
    SDL_UpdateRect(screen, is->xleft, is->ytop, w, h);
    *drawn = all;
}

// ---------------------------------------------------------------------------------------------
// Sound (the decoding runs on SDL's audio thread: FFmpeg and SDL calls only)

static bool MakeAudioConverter(PlayerState* is, const AVFrame* frame)
{
    swr_free(&is->audioConvert);
    AVChannelLayout outLayout;
    av_channel_layout_default(&outLayout, is->audioChannels);
    AVChannelLayout inLayout;
    if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame->ch_layout.nb_channels <= 0)
        av_channel_layout_default(&inLayout, frame->ch_layout.nb_channels > 0 ? frame->ch_layout.nb_channels : 2);
    else
        av_channel_layout_copy(&inLayout, &frame->ch_layout);
    int ret = swr_alloc_set_opts2(&is->audioConvert, &outLayout, AV_SAMPLE_FMT_S16, is->audioSampleRate, &inLayout,
                                  static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    if (ret < 0 || swr_init(is->audioConvert) < 0)
    {
        swr_free(&is->audioConvert);
        fprintf(stderr, "Cannot convert %s sample format to %s sample format\n",
                av_get_sample_fmt_name(static_cast<AVSampleFormat>(frame->format)),
                av_get_sample_fmt_name(AV_SAMPLE_FMT_S16));
        return false;
    }
    is->audioSrcFormat = frame->format;
    is->audioSrcChannels = frame->ch_layout.nb_channels;
    is->audioSrcRate = frame->sample_rate;
    return true;
}

// Converts one decoded frame into the player's buffer; the byte count, or -1 to drop it.
static int ConvertAudioFrame(PlayerState* is, const AVFrame* frame)
{
    if (!is->audioConvert || frame->format != is->audioSrcFormat ||
        frame->ch_layout.nb_channels != is->audioSrcChannels || frame->sample_rate != is->audioSrcRate)
    {
        if (!MakeAudioConverter(is, frame))
            return -1;
    }
    int bytesPerSample = 2 * is->audioChannels;
    int room = kPlayerAudioBufferSize / bytesPerSample;
    uint8_t* out[1] = {is->audioBuf};
    int n =
        swr_convert(is->audioConvert, out, room, const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
    if (n < 0)
    {
        fprintf(stderr, "av_audio_convert() failed\n");
        return -1;
    }
    return n * bytesPerSample;
}

// Decodes until one frame of sound is in the buffer; its byte count, or -1 while paused, aborted
// or at a queue failure.
static int DecodeAudioFrame(PlayerState* is, double* ptsOut)
{
    AVPacket* pkt = av_packet_alloc();
    if (!pkt)
        return -1;
    int result = -1;
    for (;;)
    {
        while (is->audioPacketPending)
        {
            int ret = avcodec_receive_frame(is->audioCtx, is->audioFrame);
            if (ret < 0)
            {
                is->audioPacketPending = false;
                break;
            }
            int size = ConvertAudioFrame(is, is->audioFrame);
            av_frame_unref(is->audioFrame);
            if (size <= 0)
                continue;
            *ptsOut = is->audioClock;
            is->audioClock += static_cast<double>(size) / (2.0 * is->audioChannels * is->audioSampleRate);
            result = size;
            break;
        }
        if (result >= 0)
            break;
        if (is->paused || PlayerPacketQueueAborted(&is->audioq))
            break;
        int got = PlayerPacketQueueGet(&is->audioq, pkt);
        if (got < 0)
            break;
        if (got == kPlayerQueueFlush)
        {
            avcodec_flush_buffers(is->audioCtx);
            continue;
        }
        if (got == kPlayerQueueEnd)
            continue;
        if (pkt->pts != AV_NOPTS_VALUE)
            is->audioClock = av_q2d(is->audioSt->time_base) * pkt->pts;
        avcodec_send_packet(is->audioCtx, pkt);
        av_packet_unref(pkt);
        is->audioPacketPending = true;
    }
    av_packet_free(&pkt);
    return result;
}

static void UpdateSampleRing(PlayerState* is, const int16_t* samples, int bytes)
{
    int count = bytes / 2;
    while (count > 0)
    {
        int len = kPlayerSampleRingSize - is->sampleArrayIndex;
        if (len > count)
            len = count;
        memcpy(is->sampleArray + is->sampleArrayIndex, samples, len * 2);
        samples += len;
        is->sampleArrayIndex += len;
        if (is->sampleArrayIndex >= kPlayerSampleRingSize)
            is->sampleArrayIndex = 0;
        count -= len;
    }
}

static void PlayerAudioCallback(void* opaque, Uint8* stream, int len)
{
    PlayerState* is = static_cast<PlayerState*>(opaque);
    is->audioCallbackTime = PlayerNow();
    while (len > 0)
    {
        if (is->audioBufIndex >= is->audioBufSize)
        {
            double pts;
            int size = DecodeAudioFrame(is, &pts);
            if (size < 0)
            {
                is->audioBufSize = kPlayerSilenceBytes;
                memset(is->audioBuf, 0, is->audioBufSize);
            }
            else
            {
                if (is->showWaveform)
                    UpdateSampleRing(is, reinterpret_cast<int16_t*>(is->audioBuf), size);
                // The sound is the master clock: its size is never corrected.
                is->audioBufSize = size;
            }
            is->audioBufIndex = 0;
        }
        int n = is->audioBufSize - is->audioBufIndex;
        if (n > len)
            n = len;
        memset(stream, 0, len);
        if (!g_previewMute)
            SDL_MixAudio(stream, is->audioBuf + is->audioBufIndex, n, g_previewVolume);
        len -= n;
        stream += n;
        is->audioBufIndex += n;
    }
}

// ---------------------------------------------------------------------------------------------
// Components

static void SetDecoderDefaults(AVCodecContext* ctx)
{
    ctx->workaround_bugs = FF_BUG_AUTODETECT;
    ctx->err_recognition = AV_EF_CAREFUL;
    ctx->error_concealment = FF_EC_GUESS_MVS | FF_EC_DEBLOCK;
    ctx->debug = 0;
    ctx->lowres = 0;
    ctx->idct_algo = FF_IDCT_AUTO;
    ctx->skip_frame = AVDISCARD_DEFAULT;
    ctx->skip_idct = AVDISCARD_DEFAULT;
    ctx->skip_loop_filter = AVDISCARD_DEFAULT;
    ctx->thread_count = 1;
}

static void FreeCodec(AVCodecContext** ctx)
{
    if (!*ctx)
        return;
    EngineCloseCodec(*ctx);
    avcodec_free_context(ctx);
}

static int OpenAudioDevice(PlayerState* is, int channels, int sampleRate)
{
    SDL_AudioSpec wanted = {};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.silence = 0;
    wanted.samples = kPlayerSdlAudioSamples;
    wanted.callback = PlayerAudioCallback;
    wanted.userdata = is;
    if (SDL_OpenAudio(&wanted, nullptr) < 0)
    {
        fprintf(stderr, "SDL_OpenAudio: %s\n", SDL_GetError());
        return -1;
    }
    is->audioHwBufSize = wanted.size;
    return 0;
}

int PlayerOpenComponent(PlayerState* is, int index)
{
    AVFormatContext* ic = is->ic;
    if (!ic || index < 0 || index >= static_cast<int>(ic->nb_streams))
        return -1;
    AVStream* st = ic->streams[index];
    AVCodecParameters* par = st->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec)
        return -1;
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    if (!ctx)
        return -1;
    if (avcodec_parameters_to_context(ctx, par) < 0)
    {
        avcodec_free_context(&ctx);
        return -1;
    }
    ctx->pkt_timebase = st->time_base;
    SetDecoderDefaults(ctx);
    if (EngineOpenCodec(ctx, codec) < 0)
    {
        avcodec_free_context(&ctx);
        return -1;
    }

    if (par->codec_type == AVMEDIA_TYPE_AUDIO)
    {
        // The device gets what the converter delivers: at most two channels (more are mixed
        // down), at the stream's own rate.
        int channels = par->ch_layout.nb_channels > 0 ? par->ch_layout.nb_channels : 2;
        if (channels > 2)
            channels = 2;
        is->audioChannels = channels;
        is->audioSampleRate = par->sample_rate;
        is->audioBuf = static_cast<uint8_t*>(av_malloc(kPlayerAudioBufferSize));
        is->audioFrame = av_frame_alloc();
        if (par->sample_rate <= 0 || !is->audioBuf || !is->audioFrame ||
            OpenAudioDevice(is, channels, par->sample_rate) < 0)
        {
            av_freep(&is->audioBuf);
            av_frame_free(&is->audioFrame);
            FreeCodec(&ctx);
            return -1;
        }
        st->discard = AVDISCARD_DEFAULT;
        is->audioCtx = ctx;
        is->audioStream = index;
        is->audioBufSize = 0;
        is->audioBufIndex = 0;
        is->audioPacketPending = false;
        PlayerPacketQueueInit(&is->audioq);
        is->audioSt = st;
        SDL_PauseAudio(0);
        return 0;
    }
    if (par->codec_type == AVMEDIA_TYPE_VIDEO)
    {
        st->discard = AVDISCARD_DEFAULT;
        is->videoCtx = ctx;
        is->videoStream = index;
        is->frameTimer = NowSeconds();
        is->frameLastDelay = kPlayerInitialFrameDelay;
        is->videoCurrentPtsTime = PlayerNow();
        PlayerPacketQueueInit(&is->videoq);
        is->videoSt = st;
        is->videoThread = ::CreateThread(nullptr, 0, PlayerVideoThreadProc, is, 0, nullptr);
        if (!is->videoThread)
        {
            is->videoSt = nullptr;
            is->videoCtx = nullptr;
            is->videoStream = -1;
            st->discard = AVDISCARD_ALL;
            FreeCodec(&ctx);
            return -1;
        }
        return 0;
    }
    FreeCodec(&ctx);
    return -1;
}

void PlayerCloseComponent(PlayerState* is, int index)
{
    AVFormatContext* ic = is->ic;
    if (!ic || index < 0 || index >= static_cast<int>(ic->nb_streams))
        return;
    if (index == is->audioStream)
    {
        PlayerPacketQueueAbort(&is->audioq);
        SDL_CloseAudio();
        PlayerPacketQueueEnd(&is->audioq);
        swr_free(&is->audioConvert);
        av_frame_free(&is->audioFrame);
        av_freep(&is->audioBuf);
        is->audioSt = nullptr;
        FreeCodec(&is->audioCtx);
        is->audioStream = -1;
    }
    else if (index == is->videoStream)
    {
        PlayerPacketQueueAbort(&is->videoq);
        {
            std::lock_guard<std::mutex> lock(is->pictqMutex);
            is->pictqCond.notify_all();
        }
        if (is->videoThread)
        {
            ::WaitForSingleObject(is->videoThread, INFINITE);
            ::CloseHandle(is->videoThread);
            is->videoThread = nullptr;
        }
        PlayerPacketQueueEnd(&is->videoq);
        is->videoSt = nullptr;
        FreeCodec(&is->videoCtx);
        is->videoStream = -1;
    }
    ic->streams[index]->discard = AVDISCARD_ALL;
}

// ---------------------------------------------------------------------------------------------
// The read thread

static int PlayerInterruptCallback(void* opaque)
{
    return static_cast<PlayerState*>(opaque)->abortRequest.load();
}

static bool QueuesFull(PlayerState* is)
{
    return PlayerPacketQueueSize(&is->audioq) > kPlayerAudioQueueLimit ||
           PlayerPacketQueueSize(&is->videoq) > kPlayerVideoQueueLimit;
}

static void ReadLoop(PlayerState* is)
{
    AVFormatContext* ic = is->ic;
    AVPacket* pkt = av_packet_alloc();
    if (!pkt)
        return;
    bool eof = false;
    bool endQueued = false;
    while (!is->abortRequest)
    {
        if (is->paused != is->lastPaused)
        {
            is->lastPaused = is->paused;
            if (is->paused)
                av_read_pause(ic);
            else
                av_read_play(ic);
        }
        const int64_t seekOffset = is->seekOffset.exchange(kPlayerNoSeek);
        if (seekOffset != kPlayerNoSeek)
        {
            const int64_t target = seekOffset + (is->startTime == AV_NOPTS_VALUE ? 0 : is->startTime);
            int ret = avformat_seek_file(ic, -1, INT64_MIN, target, INT64_MAX, is->seekFlags);
            if (ret < 0)
            {
                fprintf(stderr, "%s: error while seeking\n", is->filename);
            }
            else
            {
                is->seekSerial++;
                if (is->audioStream >= 0)
                {
                    PlayerPacketQueueFlush(&is->audioq);
                    PlayerPacketQueuePutFlush(&is->audioq);
                }
                if (is->videoStream >= 0)
                {
                    PlayerPacketQueueFlush(&is->videoq);
                    PlayerPacketQueuePutFlush(&is->videoq);
                }
            }
            eof = false;
            endQueued = false;
        }
        if (QueuesFull(is))
        {
            SDL_Delay(kPlayerShortWaitMs);
            continue;
        }
        if (eof)
        {
            // One end mark per end of file: the video thread drains its decoder at it.
            if (is->videoStream >= 0 && !endQueued)
                PlayerPacketQueuePutEnd(&is->videoq);
            endQueued = true;
            SDL_Delay(kPlayerShortWaitMs);
            continue;
        }
        int ret = av_read_frame(ic, pkt);
        if (ret < 0)
        {
            if (ret == AVERROR_EOF || (ic->pb && avio_feof(ic->pb)))
                eof = true;
            else if (ic->pb && ic->pb->error)
                break;
            else
                SDL_Delay(kPlayerLongWaitMs);
            continue;
        }
        if (pkt->stream_index == is->audioStream)
            PlayerPacketQueuePut(&is->audioq, pkt);
        else if (pkt->stream_index == is->videoStream)
            PlayerPacketQueuePut(&is->videoq, pkt);
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    while (!is->abortRequest)
        SDL_Delay(kPlayerLongWaitMs);
    SDL_Delay(kPlayerShortWaitMs);
}

static bool OpenInput(PlayerState* is)
{
    AVFormatContext* ic = avformat_alloc_context();
    if (!ic)
        return false;
    ic->interrupt_callback.callback = PlayerInterruptCallback;
    ic->interrupt_callback.opaque = is;
    int ret = avformat_open_input(&ic, is->filename, nullptr, nullptr);
    if (ret < 0)
    {
        char reason[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(ret, reason, sizeof(reason));
        fprintf(stderr, "%s: %s\n", is->filename, reason);
        return false; // the context was freed
    }
    is->ic = ic;
    if (avformat_find_stream_info(ic, nullptr) < 0)
    {
        fprintf(stderr, "%s: could not find codec parameters\n", is->filename);
        return false;
    }
    if (ic->pb)
        ic->pb->eof_reached = 0;

    int video = -1;
    int audio = -1;
    for (unsigned i = 0; i < ic->nb_streams; i++)
    {
        AVStream* st = ic->streams[i];
        st->discard = AVDISCARD_ALL;
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO && video < 0 &&
            !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            video = i;
        else if (st->codecpar->codec_type == AVMEDIA_TYPE_AUDIO && audio < 0)
            audio = i;
    }
    if (audio >= 0)
        PlayerOpenComponent(is, audio);
    if (video >= 0)
        PlayerOpenComponent(is, video);
    if (is->videoStream < 0)
        is->showWaveform = 1;
    if (is->audioStream < 0 && is->videoStream < 0)
    {
        fprintf(stderr, "%s: could not open codecs\n", is->filename);
        return false;
    }
    is->startTime = ic->start_time;
    return true;
}

static void PlayerDecodeThread(PlayerState* is)
{
    CThread::MarkWin32Thread();
    is->videoStream = -1;
    is->audioStream = -1;
    if (OpenInput(is))
        ReadLoop(is);
    else
        is->openFailed = 1;
    if (is->audioStream >= 0)
        PlayerCloseComponent(is, is->audioStream);
    if (is->videoStream >= 0)
        PlayerCloseComponent(is, is->videoStream);
    if (is->ic)
        avformat_close_input(&is->ic);
}

static DWORD WINAPI PlayerDecodeThreadProc(void* param)
{
    try
    {
        PlayerDecodeThread(static_cast<PlayerState*>(param));
    }
    catch (...)
    {
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Life of the player

static Uint32 PlayerRefreshTimer(Uint32, void* param)
{
    SDL_Event event = {};
    event.type = kPlayerEventRefresh;
    event.user.data1 = param;
    SDL_PushEvent(&event);
    return 0; // one shot
}

static void ScheduleRefresh(PlayerState* is, int delayMs)
{
    is->refreshTimer = SDL_AddTimer(delayMs, PlayerRefreshTimer, is);
}

PlayerState* PlayerCreateState(const char* unixPath)
{
    PlayerState* is = new (std::nothrow) PlayerState;
    if (!is)
        return nullptr;
    lstrcpynA(is->filename, unixPath, sizeof(is->filename));
    is->xleft = 0;
    is->ytop = 0;
    is->avSyncType = kPlayerSyncAudioMaster;
    ScheduleRefresh(is, kPlayerFirstRefreshMs);
    is->readThread = ::CreateThread(nullptr, 0, PlayerDecodeThreadProc, is, 0, nullptr);
    if (!is->readThread)
    {
        SDL_RemoveTimer(is->refreshTimer);
        delete is;
        return nullptr;
    }
    return is;
}

void PlayerCloseStream(PlayerState* is)
{
    is->abortRequest = 1;
    if (is->readThread)
    {
        ::WaitForSingleObject(is->readThread, INFINITE);
        ::CloseHandle(is->readThread);
    }
    if (is->refreshTimer)
        SDL_RemoveTimer(is->refreshTimer);
    for (PlayerPicture& vp : is->pictq)
    {
        if (vp.bmp)
            SDL_FreeYUVOverlay(vp.bmp);
    }
    sws_freeContext(is->imgConvertCtx);
    delete is;
}
