// A preview left running when the program ends is stopped by the exit sequence.
#include "RwTest.h"
#include "TestMedia.h"

#include "engine/Engine.h"
#include "engine/preview/PlayThread.h"
#include "platform/mfc/ExitSequence.h"

#include <SDL.h>
#undef main

TEST(PlayThreadExit, TheExitSequenceStopsARunningPreview)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    HWND host =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host);
    ASSERT_EQ(kPreviewJobId, EngineStartPreview(rwtest::ToWin32Path(rwtest::Media(rwtest::kClipMp4)).c_str(), host));
    ASSERT_TRUE(g_playerState.load());

    AfxRunExitHandlers();
    EXPECT_EQ(nullptr, g_playThread);
    EXPECT_EQ(nullptr, g_playerState.load());
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_EVERYTHING));
}
