#pragma once
// The split list's option values: the size presets and the custom size and time, turned into
// the texts of the "fs" (bytes, 64-bit) and "t" (seconds) options, and back into the list's
// entries. The parameter panel and the custom split dialog use it.
#include "platform/mfc/Mfc.h"

class CSplitOption
{
  public:
    static const int kPresetCount = 7;
    static const LONGLONG kMegabyte = 1048576;
    static const LONGLONG kGigabyte = 1073741824;
    static const int kSecondsPerMinute = 60;
    // The largest custom number taken (megabytes or minutes), so that its option value fits.
    static const LONGLONG kMaxInput = 0x7FFFFFFF;

    // Presets 1 to 7: the list text and the byte limit.
    static LPCWSTR PresetText(int preset);
    static LONGLONG PresetBytes(int preset);
    // The list entry of a byte limit: 0 for none, 1 to 7 for a preset, -1 for a custom size.
    static int PresetIndex(LONGLONG bytes);
    // The whole number a custom split entry starts with; false (the entry is refused) when it
    // is below 1, above kMaxInput or no number at all.
    static bool ParseInput(const CString& text, LONGLONG* number);
    // The option texts: megabytes as bytes for "fs", minutes as seconds for "t".
    static CString SizeValue(LONGLONG megabytes);
    static CString TimeValue(LONGLONG minutes);
    static CString PresetValue(int preset);
    // Reads an option text as a 64-bit decimal number (0 when there is none).
    static LONGLONG ReadValue(const CString& text);
};
