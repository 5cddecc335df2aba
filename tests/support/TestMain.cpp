// Entry point of every test program: runs GoogleTest, shuts the process-wide objects down, and
// ends the process at once. Static destructors would run after Wine has detached its DLLs, and
// the Wine server kills a process whose exit still runs a second after its last thread ended:
// on a loaded machine unloading the libraries can take that long, and the run would count as
// killed although every test passed.
#include "RwTest.h"

#include <cstdio>
#include <unistd.h>

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
    std::fflush(nullptr);
    _exit(rc);
}
