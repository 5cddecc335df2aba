// The preview entry points until the preview player exists: every start fails cleanly.
#include "engine/Engine.h"

PlayThread* g_playThread = nullptr;

int EngineStartPreview(const char* path, HWND hwndVideo)
{
    (void)path;
    (void)hwndVideo;
    return -1;
}

int EngineStopPreview()
{
    return 0;
}

int EngineSetPreviewVolume(int percent)
{
    (void)percent;
    if (!g_playThread)
        return -1;
    return 0;
}

int EngineGetPreviewPosition(int64_t* position)
{
    (void)position;
    return -1;
}
