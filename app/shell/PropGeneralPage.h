// CPropGeneralPage: the one page of the task properties dialog: the source's basic information and
// the parameters of its video and audio streams.
#pragma once

#include "app/core/ConvertTask.h"
#include "platform/mfc/Mfc.h"
#include "resources/resource.h"

class CPropGeneralPage : public CDialog
{
    DECLARE_DYNAMIC(CPropGeneralPage)
  public:
    static constexpr UINT kTemplateId = IDD_PROP_GENERAL;
    static constexpr UINT kLocationId = IDC_PROP_VALUE_3;
    static constexpr UINT kOpenFolderId = IDC_PROP_OPENDIR;

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
