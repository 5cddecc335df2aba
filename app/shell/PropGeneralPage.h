// CPropGeneralPage: the one page of the task properties dialog: the source's basic information and
// the parameters of its video and audio streams.
#pragma once

#include "app/core/ConvertTask.h"
#include "platform/mfc/Mfc.h"

class CPropGeneralPage : public CDialog
{
    DECLARE_DYNAMIC(CPropGeneralPage)
  public:
    static constexpr UINT kTemplateId = 142;
    static constexpr UINT kLocationId = 1024;
    static constexpr UINT kOpenFolderId = 1017;

    CPropGeneralPage();

    // Fills every field from the task; a missing stream empties its group.
    void ShowTask(const ConvertTask& task);
    BOOL OnInitDialog() override;
    void OnOK() override
    {
    }
    void OnCancel() override
    {
    }

  protected:
    afx_msg void OnOpenFolder();
    DECLARE_MESSAGE_MAP()
};
