// The packet queue between the preview player's read thread and its two decoders. It holds
// packets, seek flush marks and end-of-file marks; every operation takes the queue's own mutex,
// which is a plain C++ mutex because SDL's audio thread is one of its users.
#pragma once

#include <condition_variable>
#include <mutex>

struct AVPacket;

// Bytes counted per queued entry on top of its packet's size (the queue limits rely on it).
const int kPlayerQueueEntryOverhead = 72;

// Results of PlayerPacketQueueGet.
const int kPlayerQueueAborted = -1;
const int kPlayerQueueEnd = -2;
const int kPlayerQueuePacket = 1;
const int kPlayerQueueFlush = 2;

struct PlayerPacketEntry;

struct PlayerPacketQueue
{
    PlayerPacketEntry* first = nullptr;
    PlayerPacketEntry* last = nullptr;
    int count = 0;
    int size = 0;
    bool abort = false;
    std::mutex mutex;
    std::condition_variable cond;
};

void PlayerPacketQueueInit(PlayerPacketQueue* q);
// Drops every entry, freeing its packet.
void PlayerPacketQueueFlush(PlayerPacketQueue* q);
void PlayerPacketQueueEnd(PlayerPacketQueue* q);
// Takes over the packet's reference (the caller's packet is left blank); 0 or -1.
int PlayerPacketQueuePut(PlayerPacketQueue* q, AVPacket* pkt);
// Queues the mark that makes the decoder drop its state after a seek.
int PlayerPacketQueuePutFlush(PlayerPacketQueue* q);
// Queues the end-of-file mark.
int PlayerPacketQueuePutEnd(PlayerPacketQueue* q);
void PlayerPacketQueueAbort(PlayerPacketQueue* q);
bool PlayerPacketQueueAborted(PlayerPacketQueue* q);
// Waits for the next entry and takes it: kPlayerQueuePacket (moved into pkt), kPlayerQueueFlush,
// kPlayerQueueEnd, or kPlayerQueueAborted once the queue is aborted.
int PlayerPacketQueueGet(PlayerPacketQueue* q, AVPacket* pkt);
// Byte size of the queued entries, read under the mutex.
int PlayerPacketQueueSize(PlayerPacketQueue* q);
