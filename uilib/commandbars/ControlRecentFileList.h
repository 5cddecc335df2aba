#pragma once
// The recent files of a File menu: before each layout of its bar it stands in for one numbered
// item per entry of the application's recent file list, or shows itself disabled while the list
// is empty.
#include "uilib/commandbars/ControlButton.h"

class CRecentFileList;

const int WVP_ID_RECENTFILELIST = 35003;
const int WVP_ID_FILE_MRU_FIRST = 0xE110;

class CWVPControlRecentFileList : public CWVPControlButton
{
    DECLARE_SERIAL(CWVPControlRecentFileList)

  public:
    CWVPControlRecentFileList();

    void OnCalcDynamicSize(DWORD mode) override;
    BOOL IsCustomizeDragOverAvail(CWVPCommandBar* pBar) override;

  protected:
    // The application's list; null leaves the control and its items as they are.
    virtual CRecentFileList* GetRecentFileList();
    int GetFirstMruID() const
    {
        return WVP_ID_FILE_MRU_FIRST;
    }
};
