// The conversions running in the process at once, and the share of the machine's cores that the
// automatic thread counts of each one get: they divide the cores among them, so that side by side
// they neither oversubscribe nor starve.
#pragma once

#include <atomic>

class RunningConversions
{
  public:
    // A conversion counts from its start until its end.
    static void Enter();
    static void Leave();
    static int Count();

    // The thread count for a conversion's codecs whose user left it automatic (requested 0): its
    // share of the cores beside the other running ones, less what its own stage threads take, at
    // least 1. An explicit request is kept as given.
    static int ThreadsFor(int requested, int running, int cores);
    // The same for the conversions running now on this machine.
    static int ThreadsFor(int requested);

  private:
    static std::atomic<int> s_count;
};
