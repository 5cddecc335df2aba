// CWaitCursor: shows the hourglass for its lifetime (through the application's wait-cursor count)
// around a long operation; Restore puts it back after a message box or dialog changed the cursor.
#pragma once

class CWaitCursor
{
  public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    void Restore();
};
