#include "engine/converter/RunningConversions.h"

#include <algorithm>

namespace
{
// Besides its codec threads, a conversion's own stages (demuxing and decoding, scaling, each
// encoder, the muxer) keep about this many cores busy: side by side, each gets codec threads for
// its share of the cores divided by this.
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
    if (requested != 0 || running <= 1)
        return requested;
    return std::max(1, cores / (running * kCoresPerStagedConversion));
}

int RunningConversions::ThreadsFor(int requested)
{
    return ThreadsFor(requested, Count(), av_cpu_count());
}
