// Writes small ZIP archives for the update tests (entry names are taken as given, so that tests
// can make hostile ones too).
#pragma once

#include <zip.h>

#include <string>
#include <utility>
#include <vector>

namespace rwtest
{
typedef std::vector<std::pair<std::string, std::string>> ZipEntries;

inline bool WriteZip(const std::string& unixPath, const ZipEntries& entries)
{
    int error = 0;
    zip_t* archive = zip_open(unixPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& entry : entries)
    {
        zip_source_t* source = zip_source_buffer(archive, entry.second.data(), entry.second.size(), 0);
        if (!source || zip_file_add(archive, entry.first.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0)
        {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}
} // namespace rwtest
