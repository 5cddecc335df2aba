#pragma once
// The Options dialog's convert page: background conversion, deletion of unfinished output, the
// number of simultaneous tasks (applied to the running tasks at once) and the action after
// completion.
#include "app/shell/AppSettings.h"

class CConfigConvertPage : public CPropertyPage
{
  public:
    enum
    {
        IDD = 162,
        kBackgroundId = 1040,
        kAutoDeleteId = 1039,
        kMaxTasksLabelId = 1238,
        kMaxTasksId = 1239,
        kPostLabelId = 1100,
        kPostId = 1015,
    };
    static const int kMaxTaskChoices = 9;
    static const int kActionCount = 3;

    explicit CConfigConvertPage(AppSettings* settings);
    ~CConfigConvertPage() override;

    // Makes a new task limit count at once: pauses the tasks beyond it, or starts waiting ones.
    static void ApplyTaskLimit(int maxTasks);

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    DECLARE_MESSAGE_MAP()

  private:
    AppSettings* m_settings;
    CString m_title;
    int m_background;
    int m_autoDelete;
};
