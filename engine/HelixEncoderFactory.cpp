// RealMedia output is not available yet: no job is made.
#include "engine/EncoderFactory.h"

CEncoder* CreateHelixEncoder()
{
    return nullptr;
}
