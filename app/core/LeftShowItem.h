// One category of the profile picker (such as "Mobile Phone") with its profiles, as loaded from
// one profile file; the application keeps an array of them for the whole run.
#pragma once

#include "app/core/ConvertSetting.h"
#include "platform/mfc/Mfc.h"

class LeftShowItem
{
public:
    LeftShowItem();
    LeftShowItem(const LeftShowItem& other);
    LeftShowItem& operator=(const LeftShowItem& other);
    ~LeftShowItem();

    // Copies the texts and appends a deep copy of each of the other's profiles.
    void CopyFrom(const LeftShowItem& other);

    CString m_icon;
    CString m_name;
    CString m_description;
    CArray<ConvertSetting, const ConvertSetting&> m_profiles;
};

typedef CArray<LeftShowItem, const LeftShowItem&> CategoryArray;
