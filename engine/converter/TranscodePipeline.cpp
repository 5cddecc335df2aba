#ifndef NOMINMAX
#define NOMINMAX
#endif
#include "engine/converter/TranscodePipeline.h"

#include "engine/FaultGuard.h"
#include "engine/Thread.h"
#include "engine/converter/CommandLine.h"
#include "engine/converter/FFMpegEncoder.h"

#include <windows.h>

#include <algorithm>
#include <new>

namespace
{
// Queue depths: enough to keep each stage busy while its neighbour has a slow frame, small
// enough that a few decoded pictures are all that waits. A sleeping stage wakes for a batch of
// half a queue, and the muxer once a batch of tickets is ready.
const size_t kPictureQueueDepth = 8;
const size_t kEncodeQueueDepth = 16;
const int kMuxBatch = 8;
// Frames of one stream that the job's thread hands to its encoder in one piece of work, when
// nothing else comes between them in the output order: a stage thread wakes once for all of them.
const size_t kMostHeldFrames = 16;
// Places in the output order waiting for the muxer: only written packets wait there, so it is deep
// enough that the slowest encoder's queue never runs dry because the muxer waits for that encoder.
const size_t kTicketQueueDepth = 1024;
// Far below a size limit the written size serves for the check; within this distance the
// packets on their way are written first. At least kLeastSizeMargin, else an eighth of the limit.
const int64_t kLeastSizeMargin = 4 << 20;
const int kSizeMarginFraction = 8;

std::atomic<int> g_liveStageThreads{0};
} // namespace

std::atomic<int> g_transcodeFaultSeam{kFaultNowhere};

void FaultIfAsked(TranscodeFaultSeam where)
{
    if (g_transcodeFaultSeam.load(std::memory_order_relaxed) != where)
        return;
    if (where == kFaultJobThreadExit)
        ::ExitThread(1);
    volatile int* volatile target = nullptr;
    *target = 0;
}

// A place in the output order: the packets of one piece of work, written when the muxer gets
// there and the work is done.
struct TranscodePipeline::Ticket : PacketCollector
{
    bool ready = false; // guarded by the pipeline's lock
};

// One stage thread: a Win32 thread that logs for the job and ends the pipeline when it fails.
class TranscodePipeline::Stage
{
  public:
    explicit Stage(TranscodePipeline* pipeline) : m_pipeline(pipeline)
    {
    }
    virtual ~Stage()
    {
        Join();
    }
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    virtual void Work() = 0;
    virtual void Close() = 0;
    virtual void Abort() = 0;
    virtual const char* Name() const = 0;

    bool Start()
    {
        ++g_liveStageThreads;
        m_thread = ::CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
        if (!m_thread)
            --g_liveStageThreads;
        return m_thread != nullptr;
    }

    void Join()
    {
        if (!m_thread)
            return;
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }

  protected:
    TranscodePipeline* m_pipeline;

  private:
    static DWORD WINAPI ThreadProc(LPVOID param)
    {
        CThread::MarkWin32Thread();
        static_cast<Stage*>(param)->Run();
        --g_liveStageThreads;
        return 0;
    }

    void Run()
    {
        SetThreadJob(m_pipeline->m_run->job);
        try
        {
            DWORD fault = 0;
            auto work = [this] { Work(); };
            if (FaultGuarded(work, &fault))
                m_pipeline->WakeOwed();
            else
            {
                m_pipeline->m_run->job->NoteFault(fault, Name());
                m_pipeline->Fail();
            }
        }
        catch (const std::bad_alloc&)
        {
            ConverterMessage("Out of memory\n");
            m_pipeline->Fail();
        }
        catch (...)
        {
            m_pipeline->Fail();
        }
        SetThreadPacketCollector(nullptr);
        SetThreadJob(nullptr);
    }

    HANDLE m_thread = nullptr;
};

class TranscodePipeline::PictureStage : public Stage
{
  public:
    PictureStage(TranscodePipeline* pipeline, InputStreamRecord* ist)
        : Stage(pipeline), m_ist(ist), m_queue(kPictureQueueDepth, kPictureQueueDepth / 2, pipeline)
    {
    }
    void Work() override
    {
        VideoWork work;
        while (m_queue.Pop(&work))
        {
            FaultIfAsked(kFaultPictureStage);
            RunVideoWork(m_pipeline->m_run, m_ist, work);
            work = VideoWork();
        }
    }
    void Close() override
    {
        m_queue.Close();
    }
    void Abort() override
    {
        m_queue.Abort();
    }
    const char* Name() const override
    {
        return "picture stage";
    }

    InputStreamRecord* m_ist;
    StageQueue<VideoWork> m_queue;
};

class TranscodePipeline::EncodeStage : public Stage
{
  public:
    EncodeStage(TranscodePipeline* pipeline, OutputStreamRecord* ost)
        : Stage(pipeline), m_ost(ost), m_queue(kEncodeQueueDepth, kEncodeQueueDepth / 2, pipeline)
    {
    }
    void Work() override
    {
        EncodeWork work;
        while (m_queue.Pop(&work))
        {
            FaultIfAsked(kFaultEncodeStage);
            SetThreadPacketCollector(work.collector);
            RunEncodeWork(m_pipeline->m_run, m_ost, work);
            SetThreadPacketCollector(nullptr);
            m_pipeline->MarkReady(work.collector);
            work = EncodeWork();
        }
    }
    void Close() override
    {
        m_queue.Close();
    }
    void Abort() override
    {
        m_queue.Abort();
    }
    const char* Name() const override
    {
        return "encoder stage";
    }

    OutputStreamRecord* m_ost;
    StageQueue<EncodeWork> m_queue;
};

class TranscodePipeline::MuxStage : public Stage
{
  public:
    using Stage::Stage;
    void Work() override
    {
        m_pipeline->RunMuxer();
    }
    void Close() override
    {
        m_pipeline->m_tickets.Close();
    }
    void Abort() override
    {
        m_pipeline->m_tickets.Abort();
    }
    const char* Name() const override
    {
        return "muxer stage";
    }
};

TranscodePipeline::TranscodePipeline(TranscodeRun* run) : m_run(run), m_tickets(kTicketQueueDepth, kMuxBatch, this)
{
}

TranscodePipeline::~TranscodePipeline()
{
    Shutdown();
}

int TranscodePipeline::LiveStageThreads()
{
    return g_liveStageThreads;
}

bool TranscodePipeline::Start()
{
    for (OutputStreamRecord* ost : m_run->outputStreams)
    {
        if (!ost->encodingNeeded)
            continue;
        m_stages.emplace_back(new EncodeStage(this, ost));
        m_encodeStages[ost] = static_cast<EncodeStage*>(m_stages.back().get());
        if (ost->encoder->codec_type != AVMEDIA_TYPE_VIDEO)
            continue;
        InputStreamRecord* ist = m_run->inputStreams[ost->sourceIndex];
        if (m_pictureStages.count(ist))
            continue;
        m_stages.emplace_back(new PictureStage(this, ist));
        m_pictureStages[ist] = static_cast<PictureStage*>(m_stages.back().get());
    }
    m_stages.emplace_back(new MuxStage(this));
    m_inline = std::make_shared<Ticket>();
    for (auto& stage : m_stages)
        if (!stage->Start())
        {
            ConverterMessage("Could not start the stage threads of the conversion\n");
            m_finished = false;
            Shutdown();
            return false;
        }
    SetThreadPacketCollector(m_inline.get());
    return true;
}

void TranscodePipeline::PushTicket(std::shared_ptr<Ticket> ticket)
{
    // A new place in the output order comes after the held work: nothing joins it any more.
    SubmitHeldWork();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_issued;
    }
    if (!m_tickets.Push(std::move(ticket)))
        throw StageFailure();
}

void TranscodePipeline::HandOverInline()
{
    if (m_inline->packets.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_inline->ready = true;
    }
    std::shared_ptr<Ticket> done = std::move(m_inline);
    m_inline = std::make_shared<Ticket>();
    SetThreadPacketCollector(m_inline.get());
    PushTicket(std::move(done));
}

PacketCollector* TranscodePipeline::IssueTicket()
{
    HandOverInline();
    std::shared_ptr<Ticket> ticket = std::make_shared<Ticket>();
    PacketCollector* collector = ticket.get();
    PushTicket(std::move(ticket));
    return collector;
}

void TranscodePipeline::SubmitVideo(InputStreamRecord* ist, VideoWork&& work)
{
    for (VideoPlanEntry& entry : work.entries)
        entry.collector = IssueTicket();
    if (!m_pictureStages.at(ist)->m_queue.Push(std::move(work)))
        throw StageFailure();
}

void TranscodePipeline::SubmitEncode(OutputStreamRecord* ost, EncodeWork&& work)
{
    // Work of the job's thread, whose packets would follow the held work's in the output order.
    bool own = !work.collector;
    if (own && !work.flush && ost == m_heldStream && m_held.frames.size() + work.frames.size() <= kMostHeldFrames &&
        m_inline->packets.empty())
    {
        for (EncodeFrame& frame : work.frames)
            m_held.frames.push_back(std::move(frame));
        return;
    }
    if (own)
        work.collector = IssueTicket();
    if (own && !work.flush)
    {
        m_heldStream = ost;
        m_held = std::move(work);
        return;
    }
    if (!m_encodeStages.at(ost)->m_queue.Push(std::move(work)))
        throw StageFailure();
}

void TranscodePipeline::SubmitHeldWork()
{
    if (!m_heldStream)
        return;
    OutputStreamRecord* ost = m_heldStream;
    m_heldStream = nullptr;
    if (!m_encodeStages.at(ost)->m_queue.Push(std::move(m_held)))
        throw StageFailure();
    m_held = EncodeWork();
}

void TranscodePipeline::MarkReady(PacketCollector* collector)
{
    bool wake = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        static_cast<Ticket*>(collector)->ready = true;
        if (m_muxerWaitsFor && m_muxerWaitsFor->ready && ++m_readyUnseen >= kMuxBatch)
        {
            wake = true;
            m_readyUnseen = 0;
        }
    }
    if (wake)
        m_ticketReady.notify_one();
}

void TranscodePipeline::WakeOwed()
{
    bool wake;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        wake = m_muxerWaitsFor && m_muxerWaitsFor->ready;
        m_readyUnseen = 0;
    }
    if (wake)
        m_ticketReady.notify_one();
    for (auto& stage : m_pictureStages)
        stage.second->m_queue.WakeOwed();
    for (auto& stage : m_encodeStages)
        stage.second->m_queue.WakeOwed();
    m_tickets.WakeOwed();
}

void TranscodePipeline::BeforeWait()
{
    WakeOwed();
}

void TranscodePipeline::NoteMuxerProgress(int64_t written, bool done)
{
    bool wake;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_written += written;
        m_muxerDone = m_muxerDone || done;
        wake = m_jobWaits;
    }
    if (wake)
        m_muxed.notify_all();
}

void TranscodePipeline::RunMuxer()
{
    AVFormatContext* first = m_run->context->outputFiles[0];
    std::shared_ptr<Ticket> ticket;
    while (m_tickets.Pop(&ticket))
    {
        if (!ticket)
        {
            NoteMuxerProgress(0, true);
            continue;
        }
        FaultIfAsked(kFaultMuxStage);
        if (!ticket->ready)
            WakeOwed();
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_muxerWaitsFor = ticket.get();
            m_readyUnseen = 0;
            m_ticketReady.wait(lock, [&] { return ticket->ready || m_aborted; });
            m_muxerWaitsFor = nullptr;
            if (m_aborted)
                return;
        }
        for (auto& entry : ticket->packets)
            MuxPacket(m_run, entry.first, entry.second);
        ticket.reset();
        if (first->pb)
            m_outputSize = avio_tell(first->pb);
        NoteMuxerProgress(1, false);
    }
}

int64_t TranscodePipeline::OutputSizeNear(int64_t limit)
{
    int64_t margin = std::max(kLeastSizeMargin, limit / kSizeMarginFraction);
    if (m_outputSize + margin < limit)
        return m_outputSize;
    HandOverInline();
    SubmitHeldWork();
    WakeOwed();
    std::unique_lock<std::mutex> lock(m_lock);
    m_jobWaits = true;
    m_muxed.wait(lock, [this] { return m_written == m_issued || m_aborted; });
    m_jobWaits = false;
    if (m_aborted)
        throw StageFailure();
    return m_outputSize;
}

bool TranscodePipeline::Finish()
{
    HandOverInline();
    PushTicket(nullptr);
    WakeOwed();
    std::unique_lock<std::mutex> lock(m_lock);
    m_jobWaits = true;
    m_muxed.wait(lock, [this] { return m_muxerDone || m_aborted; });
    m_jobWaits = false;
    m_finished = m_muxerDone && !m_failed;
    return m_finished;
}

void TranscodePipeline::Abort()
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_aborted = true;
    }
    m_ticketReady.notify_all();
    m_muxed.notify_all();
    for (auto& stage : m_stages)
        stage->Abort();
}

void TranscodePipeline::Fail()
{
    // A stage that ends because the others were stopped has not failed.
    if (!m_aborted)
        m_failed = true;
    Abort();
}

void TranscodePipeline::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_finished)
        for (auto& stage : m_stages)
            stage->Close();
    else
        Abort();
    for (auto& stage : m_stages)
        stage->Join();
    SetThreadPacketCollector(nullptr);
}
