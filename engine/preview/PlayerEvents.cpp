#include "engine/preview/PlayerEvents.h"

#include <SDL.h>
#undef main

static int PushUserEvent(SDL_Event* event)
{
    return SDL_PushEvent(event) == 0 ? 0 : -1;
}

static int PushPlain(int type)
{
    SDL_Event event = {};
    event.type = static_cast<Uint8>(type);
    return PushUserEvent(&event);
}

int PlayerPushPause()
{
    return PushPlain(kPlayerEventPause);
}

int PlayerPushResume()
{
    return PushPlain(kPlayerEventResume);
}

int PlayerPushQuit()
{
    return PushPlain(kPlayerEventQuit);
}

int PlayerPushSeek(int64_t offset)
{
    SDL_Event event = {};
    event.type = kPlayerEventSeek;
    PlayerSetSeekOffset(&event, offset);
    return PushUserEvent(&event);
}

void PlayerSetSeekOffset(SDL_Event* event, int64_t offset)
{
    // Through unsigned words, so that neither half is sign-extended on the way.
    uint64_t bits = static_cast<uint64_t>(offset);
    event->user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(bits & 0xFFFFFFFFu));
    event->user.data2 = reinterpret_cast<void*>(static_cast<uintptr_t>(bits >> 32));
}

int64_t PlayerGetSeekOffset(const SDL_Event* event)
{
    uint64_t low = reinterpret_cast<uintptr_t>(event->user.data1) & 0xFFFFFFFFu;
    uint64_t high = reinterpret_cast<uintptr_t>(event->user.data2) & 0xFFFFFFFFu;
    return static_cast<int64_t>((high << 32) | low);
}
