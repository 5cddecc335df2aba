// The wait cursor: shown while any CWaitCursor lives (nested ones included), put back by
// Restore after something else changed the cursor, and the previous cursor back at the end.
#include "RwTest.h"

#include "MfcTestApp.h"

namespace
{
TEST(WaitCursor, ShowsTheHourglassForItsLifetime)
{
    CTestApp& app = TestApp();
    HCURSOR arrow = ::LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    HCURSOR wait = ::LoadCursorW(nullptr, (LPCWSTR)IDC_WAIT);
    ::SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(wait, ::GetCursor());
        EXPECT_EQ(1, app.m_nWaitCursorCount);
        {
            CWaitCursor inner;
            EXPECT_EQ(2, app.m_nWaitCursorCount);
        }
        EXPECT_EQ(wait, ::GetCursor());
        ::SetCursor(arrow); // a message box would do this
        outer.Restore();
        EXPECT_EQ(wait, ::GetCursor());
        EXPECT_EQ(1, app.m_nWaitCursorCount);
    }
    EXPECT_EQ(0, app.m_nWaitCursorCount);
    EXPECT_EQ(arrow, ::GetCursor());
}
} // namespace
