#pragma once
// The table of window classes and the skin objects their windows get. Each control's skin object
// takes its row; a class without a row gets a plain frame object.
#include "platform/mfc/Object.h"

struct WVP_SKIN_OBJECT_FACTORY
{
    LPCWSTR lpszClassName;
    CRuntimeClass* pObjectClass; // null: the class's windows stay unskinned
};

struct WVP_SKIN_OBJECT_SYNONYM
{
    LPCWSTR lpszClassName;
    LPCWSTR lpszExistingName; // empty: never skinned
};

const WVP_SKIN_OBJECT_FACTORY* WVPSkinObjectFactories(int& nCount);
const WVP_SKIN_OBJECT_SYNONYM* WVPSkinObjectSynonyms(int& nCount);
