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
    // The largest custom number taken (megabytes or minutes); larger ones are taken as this.
    static const LONGLONG kMaxInput = 0x7FFFFFFF;

    // Presets 1 to 7: the list text and the byte limit.
    static LPCWSTR PresetText(int preset);
    static LONGLONG PresetBytes(int preset);
    // The list entry of a byte limit: 0 for none, 1 to 7 for a preset, -1 for a custom size.
    static int PresetIndex(LONGLONG bytes);
    // The number a custom split entry starts with, fractions included ("0.5" or "0,5"); false
    // (the entry is refused) when it is not above 0 or no number at all.
    static bool ParseInput(const CString& text, double* number);
    // The option texts: megabytes as bytes for "fs", minutes as seconds for "t", rounded to the
    // nearest byte or second and at least 1.
    static CString SizeValue(double megabytes);
    static CString TimeValue(double minutes);
    static CString PresetValue(int preset);
    // Reads an option text as a 64-bit decimal number (0 when there is none).
    static LONGLONG ReadValue(const CString& text);
};
