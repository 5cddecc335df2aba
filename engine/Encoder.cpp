#include "engine/Encoder.h"

#include <string.h>

CEncoder::CEncoder() : m_progress(0.0f), m_state(kEncoderIdle)
{
    memset(&m_settings, 0, sizeof(m_settings));
}

CEncoder::~CEncoder() = default;
