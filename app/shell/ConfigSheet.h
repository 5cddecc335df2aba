#pragma once
// The Options dialog: a property sheet of the general and the convert page, shown modally by the
// main frame. The pages write the settings record they are given when the sheet closes with OK;
// Cancel leaves it as it was.
#include "app/shell/ConfigConvertPage.h"
#include "app/shell/ConfigGeneralPage.h"

class CConfigSheet : public CPropertySheet
{
  public:
    explicit CConfigSheet(AppSettings* settings);
    ~CConfigSheet() override;

    CConfigGeneralPage m_general;
    CConfigConvertPage m_convert;

  protected:
    BOOL OnInitDialog() override;
    DECLARE_MESSAGE_MAP()
};
