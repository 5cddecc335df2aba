#define NOMINMAX
#include "RwTest.h"

#include "JobFixture.h"
#include "OutputProbe.h"
#include "engine/converter/TranscodePipeline.h"

#include <stdint.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

using rwtest::MakeJobSettings;

// Damaged sources, made the same way on every run: byte flips, truncations and splices of the
// seed clips. Each is converted to two targets. Whatever the damage, a job ends (a
// minute is only a hang guard), never faults, fails with a reason and leaves no file, or ends done
// with a file that reads back.
namespace
{
struct Seed
{
    const char* name;
    int flips, cuts, splices; // cases of each kind
};
// The one-second clips, and a few cases of the longer stream that gains a stream part-way.
const Seed kSeeds[] = {
    {"seed_h264_aac.mp4", 35, 15, 25},  {"seed_mpeg2_mp2.ts", 35, 15, 25}, {"seed_mpeg4_mp3.avi", 35, 15, 25},
    {"seed_mpeg4_vorbis.mkv", 35, 15, 25}, {"late_stream.ts", 6, 4, 4},
};
const int kMostFlips = 16;
const size_t kHeaderBytes = 2048; // half the flips land here, where the container's structure is
const size_t kLeastSplice = 64;
const size_t kMostSplice = 4096;
const int kTargetsPerCase = 2;
const size_t kJobsAtOnce = 4;
const DWORD kHangGuardMs = 60000;
const uint32_t kFirstSeed = 0x4d555431;

struct Target
{
    const char* extension;
    const char* arguments;
    bool video; // the target writes a picture stream where the source has one
};
const Target kTargets[] = {
    {"wav", "-vn 1 -acodec pcm_s16le -ar 22050 -ac 1", false},
    {"avi", "-vcodec mpeg4 -s 96x72 -r 25 -b 200 -acodec libmp3lame -ab 64 -ar 22050 -ac 1", true},
    {"mp4", "-vcodec mpeg4 -s 96x72 -r 25 -b 200 -acodec aac -ab 64 -ar 22050 -ac 1", true},
};

class Lcg
{
public:
    explicit Lcg(uint32_t seed) : m_state(seed) {}
    uint32_t Below(size_t bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return bound ? (uint32_t)((m_state >> 8) % bound) : 0;
    }

private:
    uint32_t m_state;
};

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    uint8_t buffer[65536];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + count);
    fclose(file);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::string Extension(const std::string& name)
{
    return name.substr(name.rfind('.'));
}

struct MutationCase
{
    std::string name;
    std::vector<uint8_t> bytes;
};

void Flip(std::vector<uint8_t>& bytes, Lcg& lcg)
{
    int flips = 1 + (int)lcg.Below(kMostFlips);
    for (int i = 0; i < flips && !bytes.empty(); ++i)
    {
        size_t at = lcg.Below(2) ? lcg.Below(std::min(bytes.size(), kHeaderBytes)) : lcg.Below(bytes.size());
        bytes[at] ^= (uint8_t)(1 + lcg.Below(255));
    }
}

void Cut(std::vector<uint8_t>& bytes, Lcg& lcg)
{
    bytes.resize(bytes.size() * (2 + lcg.Below(97)) / 100);
}

// A stretch of another seed (or the same one) written over the bytes or put between them.
void Splice(std::vector<uint8_t>& bytes, const std::vector<std::vector<uint8_t>>& seeds, Lcg& lcg)
{
    const std::vector<uint8_t>& donor = seeds[lcg.Below(seeds.size())];
    size_t length = std::min(donor.size(), kLeastSplice + lcg.Below(kMostSplice - kLeastSplice));
    size_t from = lcg.Below(donor.size() - length + 1);
    size_t to = lcg.Below(bytes.size());
    if (lcg.Below(2))
    {
        length = std::min(length, bytes.size() - to);
        std::copy(donor.begin() + from, donor.begin() + from + length, bytes.begin() + to);
    }
    else
        bytes.insert(bytes.begin() + to, donor.begin() + from, donor.begin() + from + length);
}

std::vector<MutationCase> MakeCases()
{
    std::vector<std::vector<uint8_t>> seeds;
    for (const Seed& seed : kSeeds)
        seeds.push_back(ReadBytes(rwtest::Media(seed.name)));
    std::vector<MutationCase> cases;
    uint32_t seedNumber = kFirstSeed;
    for (size_t s = 0; s < seeds.size(); ++s)
    {
        if (seeds[s].empty())
            continue;
        const struct
        {
            const char* kind;
            int count;
        } kinds[] = {{"flip", kSeeds[s].flips}, {"cut", kSeeds[s].cuts}, {"splice", kSeeds[s].splices}};
        for (const auto& kind : kinds)
            for (int k = 0; k < kind.count; ++k)
            {
                Lcg lcg(++seedNumber);
                MutationCase c;
                c.name = std::string(kind.kind) + "-" + std::to_string(s) + "-" + std::to_string(k) +
                         Extension(kSeeds[s].name);
                c.bytes = seeds[s];
                if (kind.kind[0] == 'f')
                    Flip(c.bytes, lcg);
                else if (kind.kind[0] == 'c')
                    Cut(c.bytes, lcg);
                else
                    Splice(c.bytes, seeds, lcg);
                cases.push_back(std::move(c));
            }
    }
    return cases;
}

struct RunningJob
{
    int id;
    std::string source;
    std::string output;
    const Target* target;
};

int JobLogLines(int id)
{
    int lines = 0;
    for (const auto& line : rwtest::LogRecorder::Snapshot())
        lines += line.first == id;
    return lines;
}

// Waits for the job's end and checks what it left.
void Settle(const RunningJob& job, int* done)
{
    SCOPED_TRACE(job.source + " -> " + job.target->extension);
    EncoderState state = rwtest::WaitForJobEnd(job.id, kHangGuardMs);
    if (!rwtest::IsJobFinished(state))
    {
        ADD_FAILURE() << "still running after " << kHangGuardMs << " ms";
        return; // left as it is: a stop would wait for it too
    }
    EXPECT_EQ(0, EngineDestroyJob(job.id));
    if (state == kEncoderDone)
    {
        ++*done;
        rwtest::OutputFacts facts = rwtest::ProbeOutput(job.output);
        EXPECT_TRUE(facts.opened);
        EXPECT_NE(AV_CODEC_ID_NONE, job.target->video && facts.videoCodec != AV_CODEC_ID_NONE ? facts.videoCodec
                                                                                                 : facts.audioCodec);
        EXPECT_GT(facts.packets, 0);
        EXPECT_GT(facts.duration, 0.0);
        EXPECT_EQ(0, facts.undecodablePackets);
    }
    else
    {
        EXPECT_TRUE(state == kEncoderFailed || state == kEncoderException) << state;
        EXPECT_GT(JobLogLines(job.id), 0); // the reason is in its log
        EXPECT_FALSE(FileExists(job.output));
    }
    ::remove(job.output.c_str());
}
} // namespace

TEST(Mutation, DamagedSourcesEndDoneWithReadableOutputOrFailWithAReason)
{
    rwtest::LogRecorder log;
    const std::string dir = rwtest::ScratchDir("MutationTest");
    std::vector<MutationCase> cases = MakeCases();
    size_t expected = 0;
    for (const Seed& seed : kSeeds)
        expected += seed.flips + seed.cuts + seed.splices;
    ASSERT_EQ(expected, cases.size()); // every seed was there
    std::vector<RunningJob> running;
    int done = 0, jobs = 0;
    for (size_t i = 0; i < cases.size(); ++i)
    {
        const std::string source = dir + "/" + cases[i].name;
        ASSERT_TRUE(WriteBytes(source, cases[i].bytes));
        for (int t = 0; t < kTargetsPerCase; ++t)
        {
            const Target& target = kTargets[(i + t) % (sizeof(kTargets) / sizeof(kTargets[0]))];
            RunningJob job{0, source, dir + "/out-" + std::to_string(i) + "." + target.extension, &target};
            JobSettings settings = MakeJobSettings(source, job.output, target.arguments);
            job.id = EngineCreateJob(&settings);
            ++jobs;
            if (job.id < kFirstJobId)
            {
                EXPECT_FALSE(FileExists(job.output)) << cases[i].name; // refused before it began
                continue;
            }
            running.push_back(job);
            if (running.size() >= kJobsAtOnce)
            {
                Settle(running.front(), &done);
                running.erase(running.begin());
            }
        }
    }
    for (const RunningJob& job : running)
        Settle(job, &done);
    printf("%d jobs, %d done\n", jobs, done);
    EXPECT_EQ(0, log.CountContaining("(exception ")); // no thread of a job faulted
    EXPECT_EQ(0, TranscodePipeline::LiveStageThreads());
    EXPECT_GT(done, 0);
}
