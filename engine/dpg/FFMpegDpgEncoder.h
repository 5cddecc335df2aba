// The job for ".dpg" output: runs the converter once for the audio into a temporary MP2 file and
// once for the video into a temporary MPEG-1 stream, then writes the DPG file from the two.
#pragma once

#include "engine/converter/FFMpegEncoder.h"

#include <atomic>
#include <string>

class CFFMpegDpgEncoder : public CFFMpegEncoder
{
public:
    CFFMpegDpgEncoder();

    // The audio pass covers 0 to 44.55 percent, the video pass 45 to 98.955.
    float GetProgress() override;

    int PrepareSegment() override;
    bool ContinueAfterRun(double offsetBefore) override;
    bool OutputComplete() override;
    void OnOutputIncomplete() override;

    int PreparePass();
    int WriteDpgFile();
    void DeleteTempFiles();

    std::string AudioTempPath() const
    {
        return m_outputUnixPath + ".mp2";
    }
    std::string VideoTempPath() const
    {
        return m_outputUnixPath + ".yuv";
    }

    std::atomic<int> m_pass; // 0 audio, 1 video
    bool m_dpgWritten;
    double m_videoRate; // frames per second of the video pass
    int m_audioRate;    // sample rate of the audio pass
};
