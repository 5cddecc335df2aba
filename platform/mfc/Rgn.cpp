#include "platform/mfc/Rgn.h"

IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
