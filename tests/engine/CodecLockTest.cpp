#include "RwTest.h"

#include "engine/CodecLock.h"
#include "engine/Engine.h"

#include <stdio.h>
#include <string.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
std::atomic<int> g_lockingComplaints(0);

void CountComplaints(void*, int, const char* format, va_list)
{
    if (format && strstr(format, "insufficient thread locking"))
        ++g_lockingComplaints;
}

struct CodecContextDeleter
{
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
typedef std::unique_ptr<AVCodecContext, CodecContextDeleter> CodecContextPtr;

// A small MPEG-4 encoder context, complete enough to open.
CodecContextPtr NewEncoderContext(const AVCodec* codec, int width = 64, int height = 48)
{
    CodecContextPtr context(avcodec_alloc_context3(codec));
    context->width = width;
    context->height = height;
    context->time_base = AVRational{1, 25};
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    return context;
}

class CodecLockTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_lockingComplaints = 0;
        av_log_set_callback(CountComplaints);
    }
    void TearDown() override { av_log_set_callback(FFmpegLogCallback); }

    const AVCodec* m_codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
};
}

TEST_F(CodecLockTest, SecondOpenFailsAndKeepsTheFirst)
{
    CodecContextPtr context = NewEncoderContext(m_codec);
    ASSERT_EQ(0, EngineOpenCodec(context.get(), m_codec));
    EXPECT_EQ(-1, EngineOpenCodec(context.get(), m_codec));
    EXPECT_TRUE(avcodec_is_open(context.get()));
    EXPECT_EQ(-1, EngineOpenCodec(NewEncoderContext(m_codec).get(), nullptr));
    EXPECT_EQ(0, EngineCloseCodec(context.get()));
    EXPECT_EQ(0, g_lockingComplaints);
}

TEST_F(CodecLockTest, FailedOpenLeavesTheContextReusable)
{
    CodecContextPtr context = NewEncoderContext(m_codec);
    context->time_base = AVRational{0, 1}; // the encoder's init rejects it
    EXPECT_LT(EngineOpenCodec(context.get(), m_codec), 0);
    EXPECT_FALSE(avcodec_is_open(context.get()));
    EXPECT_EQ(nullptr, context->priv_data);
    context->time_base = AVRational{1, 25};
    EXPECT_EQ(0, EngineOpenCodec(context.get(), m_codec));
}

TEST_F(CodecLockTest, InvalidSizeGivesMinus22)
{
    CodecContextPtr context = NewEncoderContext(m_codec, 1 << 20, 1 << 20);
    EXPECT_EQ(-22, EngineOpenCodec(context.get(), m_codec));
    EXPECT_FALSE(avcodec_is_open(context.get()));
}

TEST_F(CodecLockTest, EntryWithoutTheLockIsLogged)
{
    // Another caller is inside the guarded routines without holding the lock.
    ++g_codecGuardCount;
    EXPECT_EQ(-1, GuardedCodecOpen(NewEncoderContext(m_codec).get(), nullptr));
    EXPECT_EQ(0, GuardedCodecClose(nullptr));
    --g_codecGuardCount;
    EXPECT_EQ(2, g_lockingComplaints);
    EXPECT_EQ(0, g_codecGuardCount);
}

TEST_F(CodecLockTest, ParallelOpenAndCloseUnderTheLockNeverComplain)
{
    std::vector<std::thread> threads;
    std::atomic<int> failures(0);
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back([&] {
            for (int i = 0; i < 25; ++i)
            {
                CodecContextPtr context = NewEncoderContext(m_codec);
                if (EngineOpenCodec(context.get(), m_codec) != 0)
                    ++failures;
                EngineCloseCodec(context.get());
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(0, failures);
    EXPECT_EQ(0, g_lockingComplaints);
}
