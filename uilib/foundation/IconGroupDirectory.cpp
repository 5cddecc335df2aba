#include "uilib/foundation/IconGroupDirectory.h"

namespace
{
// GRPICONDIR: a 6-byte header whose last word is the count, then 14-byte entries (width, height,
// ..., the 16-bit icon id at offset 12). A size byte of 0 stands for 256.
const DWORD kHeaderBytes = 6;
const DWORD kEntryBytes = 14;
const DWORD kCountOffset = 4;
const DWORD kIdOffset = 12;
const int kSizeOfZero = 256;

WORD ReadWord(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}
} // namespace

BOOL WVPReadIconGroupDirectory(HMODULE module, HRSRC group, std::vector<WVPIconGroupEntry>& entries)
{
    entries.clear();
    const BYTE* bytes = group ? static_cast<const BYTE*>(::LockResource(::LoadResource(module, group))) : nullptr;
    const DWORD size = group ? ::SizeofResource(module, group) : 0;
    if (!bytes || size < kHeaderBytes)
        return FALSE;
    const WORD count = ReadWord(bytes + kCountOffset);
    if (kHeaderBytes + (DWORD)count * kEntryBytes > size)
        return FALSE;
    entries.reserve(count);
    for (WORD i = 0; i < count; ++i)
    {
        const BYTE* entry = bytes + kHeaderBytes + (DWORD)i * kEntryBytes;
        entries.push_back(
            {entry[0] ? entry[0] : kSizeOfZero, entry[1] ? entry[1] : kSizeOfZero, ReadWord(entry + kIdOffset)});
    }
    return TRUE;
}
