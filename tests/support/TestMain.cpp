// Entry point of every test program: runs GoogleTest, then shuts the process-wide objects down
// before main returns (static destructors run after Wine has detached its DLLs).
#include "RwTest.h"

#ifdef RW_HAVE_MFC
#include "platform/mfc/ExitSequence.h"
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    int rc = RUN_ALL_TESTS();
#ifdef RW_HAVE_MFC
    AfxRunExitHandlers();
#endif
    return rc;
}
