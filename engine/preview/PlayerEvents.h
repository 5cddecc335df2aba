// The events that command the preview player through SDL's event queue, and the functions with
// which the application's preview panel pushes its pause, resume and seek commands.
#pragma once

#include <stdint.h>

union SDL_Event;

// SDL's user-event base (24) plus 0 to 8.
const int kPlayerEventAlloc = 24;
const int kPlayerEventRefresh = 25;
const int kPlayerEventQuit = 26;
const int kPlayerEventPause = 27;
const int kPlayerEventResume = 28;
const int kPlayerEventSeek = 31;
const int kPlayerEventSnapshot = 32;

// 0, or -1 when the event could not be queued (no preview runs).
int PlayerPushPause();
int PlayerPushResume();
// offset: microseconds from the start of the file.
int PlayerPushSeek(int64_t offset);
int PlayerPushQuit();

// The seek offset travels as two 32-bit halves in the event's two pointer-sized data words.
void PlayerSetSeekOffset(SDL_Event* event, int64_t offset);
int64_t PlayerGetSeekOffset(const SDL_Event* event);
