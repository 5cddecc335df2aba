#include "platform/mfc/Pen.h"

IMPLEMENT_DYNAMIC(CPen, CGdiObject)
