#include "engine/preview/PlayerPacketQueue.h"

extern "C"
{
#include <libavcodec/avcodec.h>
}

enum class PlayerEntryKind
{
    Packet,
    Flush,
    End
};

struct PlayerPacketEntry
{
    PlayerEntryKind kind = PlayerEntryKind::Packet;
    AVPacket* pkt = nullptr;
    PlayerPacketEntry* next = nullptr;

    ~PlayerPacketEntry()
    {
        av_packet_free(&pkt);
    }
};

static int EntrySize(const PlayerPacketEntry* e)
{
    return (e->pkt ? e->pkt->size : 0) + kPlayerQueueEntryOverhead;
}

static int Append(PlayerPacketQueue* q, PlayerPacketEntry* e)
{
    std::lock_guard<std::mutex> lock(q->mutex);
    if (q->last)
        q->last->next = e;
    else
        q->first = e;
    q->last = e;
    q->count++;
    q->size += EntrySize(e);
    q->cond.notify_all();
    return 0;
}

void PlayerPacketQueueInit(PlayerPacketQueue* q)
{
    std::lock_guard<std::mutex> lock(q->mutex);
    q->first = q->last = nullptr;
    q->count = 0;
    q->size = 0;
    q->abort = false;
}

void PlayerPacketQueueFlush(PlayerPacketQueue* q)
{
    std::lock_guard<std::mutex> lock(q->mutex);
    for (PlayerPacketEntry* e = q->first; e;)
    {
        PlayerPacketEntry* next = e->next;
        delete e;
        e = next;
    }
    q->first = q->last = nullptr;
    q->count = 0;
    q->size = 0;
}

void PlayerPacketQueueEnd(PlayerPacketQueue* q)
{
    PlayerPacketQueueFlush(q);
}

int PlayerPacketQueuePut(PlayerPacketQueue* q, AVPacket* pkt)
{
    PlayerPacketEntry* e = new (std::nothrow) PlayerPacketEntry;
    if (!e)
        return -1;
    e->pkt = av_packet_alloc();
    if (!e->pkt)
    {
        delete e;
        return -1;
    }
    // A packet that does not own its data gets a copy of it here.
    if (av_packet_ref(e->pkt, pkt) < 0)
    {
        delete e;
        return -1;
    }
    av_packet_unref(pkt);
    return Append(q, e);
}

static int PutMark(PlayerPacketQueue* q, PlayerEntryKind kind)
{
    PlayerPacketEntry* e = new (std::nothrow) PlayerPacketEntry;
    if (!e)
        return -1;
    e->kind = kind;
    return Append(q, e);
}

int PlayerPacketQueuePutFlush(PlayerPacketQueue* q)
{
    return PutMark(q, PlayerEntryKind::Flush);
}

int PlayerPacketQueuePutEnd(PlayerPacketQueue* q)
{
    return PutMark(q, PlayerEntryKind::End);
}

void PlayerPacketQueueAbort(PlayerPacketQueue* q)
{
    std::lock_guard<std::mutex> lock(q->mutex);
    q->abort = true;
    q->cond.notify_all();
}

bool PlayerPacketQueueAborted(PlayerPacketQueue* q)
{
    std::lock_guard<std::mutex> lock(q->mutex);
    return q->abort;
}

int PlayerPacketQueueGet(PlayerPacketQueue* q, AVPacket* pkt)
{
    std::unique_lock<std::mutex> lock(q->mutex);
    q->cond.wait(lock, [q] { return q->abort || q->first; });
    if (q->abort)
        return kPlayerQueueAborted;
    PlayerPacketEntry* e = q->first;
    q->first = e->next;
    if (!q->first)
        q->last = nullptr;
    q->count--;
    q->size -= EntrySize(e);
    int result = kPlayerQueuePacket;
    if (e->kind == PlayerEntryKind::Flush)
        result = kPlayerQueueFlush;
    else if (e->kind == PlayerEntryKind::End)
        result = kPlayerQueueEnd;
    else
        av_packet_move_ref(pkt, e->pkt);
    delete e;
    return result;
}

int PlayerPacketQueueSize(PlayerPacketQueue* q)
{
    std::lock_guard<std::mutex> lock(q->mutex);
    return q->size;
}
