// The stages of one transcode run side by side: the job's thread demuxes and decodes, a picture
// thread per decoded video stream decorates and scales, a thread per encoded output stream
// encodes, and a muxer thread writes the packets in exactly the order of a one-thread run.
#pragma once

#include "engine/converter/PacketPath.h"
#include "engine/converter/StageQueue.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// Where a conversion faults on purpose, for the tests of the fault handling (0: nowhere; only
// tests set it). kFaultJobThreadExit ends the job's thread at once, as a thread that died outside
// every guard would end.
enum TranscodeFaultSeam
{
    kFaultNowhere,
    kFaultJobThread,
    kFaultPictureStage,
    kFaultEncodeStage,
    kFaultMuxStage,
    kFaultJobThreadExit
};
extern std::atomic<int> g_transcodeFaultSeam;
// Faults (or ends the thread) when the seam names this place.
void FaultIfAsked(TranscodeFaultSeam where);

class TranscodePipeline : private WaitHook
{
  public:
    explicit TranscodePipeline(TranscodeRun* run);
    ~TranscodePipeline();
    TranscodePipeline(const TranscodePipeline&) = delete;
    TranscodePipeline& operator=(const TranscodePipeline&) = delete;

    // Starts the stage threads; false (nothing left running) when one cannot be created.
    bool Start();

    // The job's thread hands a decoded picture to its picture stage (each entry gets its place in
    // the output order now), or encoder work to an encoder stage; the picture stages hand theirs
    // on with the place already taken. Throw StageFailure when the pipeline was ended.
    void SubmitVideo(InputStreamRecord* ist, VideoWork&& work);
    void SubmitEncode(OutputStreamRecord* ost, EncodeWork&& work);
    // Encoder work the job's thread still holds back to join with the next (consecutive frames of
    // one stream share a place in the output order) goes to its stage now.
    void SubmitHeldWork();
    // The job's thread: the packets it wrote itself (stream copy, subtitles) take their place.
    void HandOverInline();
    // The first output file's size as the one-thread run would see it now. Far below the limit
    // the muxer's latest size serves; near it, waits until every packet so far is written.
    int64_t OutputSizeNear(int64_t limit);

    // The job's thread, after the last work: waits until every packet is written. False when
    // a stage failed.
    bool Finish();
    // Ends every stage (at once, unless Finish succeeded) and waits for their threads.
    void Shutdown();
    // Wakes the stages that sleep on work queued without waking them: the job's thread calls it
    // before it sleeps for anything but the pipeline (a pause), as the pipeline's own waits do.
    void WakeOwed();
    // A stage failed: the others end as soon as they can.
    void Fail();
    bool Failed() const
    {
        return m_failed;
    }
    bool Ended() const
    {
        return m_aborted;
    }

    // Stage threads of every pipeline in the process that have not ended yet.
    static int LiveStageThreads();

  private:
    struct Ticket;
    class Stage;
    class PictureStage;
    class EncodeStage;
    class MuxStage;
    friend class Stage;
    friend class PictureStage;
    friend class EncodeStage;
    friend class MuxStage;

    PacketCollector* IssueTicket();
    void PushTicket(std::shared_ptr<Ticket> ticket);
    void MarkReady(PacketCollector* collector);
    void NoteMuxerProgress(int64_t written, bool done);
    void Abort();
    void RunMuxer();
    void BeforeWait() override;

    TranscodeRun* m_run;
    std::vector<std::unique_ptr<Stage>> m_stages;
    std::map<InputStreamRecord*, PictureStage*> m_pictureStages;
    std::map<OutputStreamRecord*, EncodeStage*> m_encodeStages;
    StageQueue<std::shared_ptr<Ticket>> m_tickets;
    std::shared_ptr<Ticket> m_inline;
    // The job thread's latest encoder work, held back while frames of the same stream follow it
    // with no other place in the output order taken in between.
    OutputStreamRecord* m_heldStream = nullptr;
    EncodeWork m_held;

    std::mutex m_lock;                     // guards the tickets' ready flags and the counts and flags below
    std::condition_variable m_ticketReady; // the muxer waits for m_muxerWaitsFor
    std::condition_variable m_muxed;       // the job's thread waits for the muxer (m_jobWaits)
    const Ticket* m_muxerWaitsFor = nullptr;
    int m_readyUnseen = 0; // tickets marked ready while the muxer sleeps with its next one ready
    bool m_jobWaits = false;
    int64_t m_issued = 0;  // tickets handed to the muxer
    int64_t m_written = 0; // tickets the muxer wrote
    bool m_muxerDone = false;
    std::atomic<int64_t> m_outputSize{0};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_aborted{false};
    bool m_finished = false;
    bool m_shutDown = false;
};
