// The task list's cell texts that carry values: the estimated output size ("%0.2f K", "M", "G"),
// the length and the time left ("hh:mm:ss"); the list sorts those columns by value rather than as
// text.
#pragma once

#include "platform/mfc/Mfc.h"

const int kTaskColumnLength = 1;
const int kTaskColumnSize = 3;

// The longest time left a row shows (99:59:59): the estimate at a tiny progress means only "long".
const int kMaxSecondsLeft = 99 * 3600 + 59 * 60 + 59;

// Seconds left of a conversion from the time since it started and its progress in percent, held
// to 0 ... kMaxSecondsLeft.
int TaskSecondsLeft(DWORD elapsedMs, double percent);
// The size text of a byte count: K below 1 MiB, M below 1000 MiB, G above.
CString FormatTaskSize(INT64 bytes);
// The value a cell text stands for (bytes, or seconds); false for a text without one ("-", empty).
bool TaskCellValue(const CString& text, double& value);
// The order of two cells of a column: the size and length columns by value (texts without a value
// first), the others as text ignoring case. -1, 0 or 1.
int CompareTaskCells(int column, const CString& first, const CString& second);
