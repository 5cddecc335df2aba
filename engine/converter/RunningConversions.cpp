#include "engine/converter/RunningConversions.h"

#include <algorithm>

namespace
{
// A conversion's stages (demuxing and decoding, scaling, each encoder, the muxer) run at the same
// time, so its decoder and encoder each work beside the other's threads: each codec gets threads
// for the conversion's share of the cores divided by this. Left to themselves the libraries take
// all of them each (x264 half as many again) and oversubscribe the cores: the same conversion
// then takes longer and more CPU time.
const int kCoresPerStagedConversion = 2;
} // namespace

extern "C"
{
#include <libavutil/cpu.h>
}

std::atomic<int> RunningConversions::s_count{0};

void RunningConversions::Enter()
{
    ++s_count;
}

void RunningConversions::Leave()
{
    --s_count;
}

int RunningConversions::Count()
{
    return s_count;
}

int RunningConversions::ThreadsFor(int requested, int running, int cores)
{
    if (requested != 0)
        return requested;
    return std::max(1, cores / (std::max(running, 1) * kCoresPerStagedConversion));
}

int RunningConversions::ThreadsFor(int requested)
{
    return ThreadsFor(requested, Count(), av_cpu_count());
}
