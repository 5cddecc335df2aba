// Runs a storing routine over a memory archive and gives back the bytes, or a loading routine over
// given bytes and gives back the cause of the archive exception it ended with (-1 for none).
#pragma once

#include "platform/mfc/Mfc.h"

#include <cstdlib>
#include <functional>
#include <vector>

using ArchiveBytes = std::vector<BYTE>;

inline ArchiveBytes StoreArchiveBytes(const std::function<void(CArchive&)>& routine)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        routine(ar);
        ar.Close();
    }
    const UINT size = UINT(file.GetLength());
    BYTE* data = file.Detach();
    ArchiveBytes bytes(data, data + size);
    std::free(data);
    return bytes;
}

inline int LoadArchiveBytes(const ArchiveBytes& bytes, const std::function<void(CArchive&)>& routine)
{
    ArchiveBytes copy = bytes;
    CMemFile file(copy.data(), UINT(copy.size()));
    CArchive ar(&file, CArchive::load);
    try
    {
        routine(ar);
    }
    catch (CArchiveException* e)
    {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}
