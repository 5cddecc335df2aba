// benchsource: writes the benchmarks' source clip with the test media generator's own writer.
// Usage: benchsource PATH SECONDS WIDTH HEIGHT
#include "ClipWriter.h"

#include <cstdio>
#include <cstdlib>
#include <string>

extern "C"
{
#include <libavutil/log.h>
}

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        fprintf(stderr, "usage: benchsource PATH SECONDS WIDTH HEIGHT\n");
        return 2;
    }
    av_log_set_level(AV_LOG_ERROR);
    const int fps = 25;
    mkmedia::ClipSpec spec = {"bench", "mp4", {"libx264", atoi(argv[3]), atoi(argv[4]), fps, 0}, {"aac", 44100, 2},
                              1, false, atof(argv[2])};
    std::string error;
    if (!mkmedia::WriteClip(spec, argv[1], error))
    {
        fprintf(stderr, "benchsource: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
