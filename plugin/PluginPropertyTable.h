// The static property table by which the producer SDK recognises a plug-in. Entries are sized
// from their types, so the table holds on 64-bit as on 32-bit.
#pragma once

#include <windows.h>

// One row of the plug-in's static property table.
struct PluginPropertyEntry
{
    UINT32 kind; // kPluginProperty*
    const char* key;
    const void* value; // text, or the bytes of a buffer
    UINT32 length;     // bytes of a buffer
};

const UINT32 kPluginPropertyUInt32 = 1;
const UINT32 kPluginPropertyText = 2;
const UINT32 kPluginPropertyBuffer = 3;
const UINT32 kPluginPropertyEnd = 4;
