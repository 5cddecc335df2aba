// Reads a DLL's version through its DllGetVersion entry; the tool bar layers read the common
// controls' version once (major x 100 + minor, 0 without a version entry) to pick their behaviour.
#pragma once

#include <windows.h>
#include <shlwapi.h>

class CModuleVersion
{
  public:
    CModuleVersion();
    virtual ~CModuleVersion();
    CModuleVersion(const CModuleVersion&) = delete;
    CModuleVersion& operator=(const CModuleVersion&) = delete;

    // True when the DLL answered; the record then holds its version.
    bool GetDLLVersionInfo(LPCWSTR module);
    // major x 100 + minor of the last answer, 0 when there was none.
    int Packed() const;

    DLLVERSIONINFO m_info;
};

// The common-controls version as the tool bar layers use it (read once).
int ComCtlVersion();
// Tests pretend another version; a negative value reads the real one again.
void SetComCtlVersionForTest(int version);
