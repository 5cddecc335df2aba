// One parameter of a conversion profile: it becomes one option of the converter's argument text.
// Loaded from the profile files, copied into every task and edited by the parameter panel.
#pragma once

#include "platform/mfc/Mfc.h"

class SubParameters
{
public:
    SubParameters();
    SubParameters(const SubParameters& other);
    SubParameters& operator=(const SubParameters& other);
    ~SubParameters();

    void CopyFrom(const SubParameters& other);
    // Sets the value, clamped into [min, max] and rewritten for the "integer" and "float" types.
    void SetValueClamped(const CString& value);
    // Merges the other task's parameter into this one for a multiple selection; an emptied
    // value means the tasks disagree.
    bool MergeFrom(const SubParameters& other);

    CString m_name;
    CString m_group;
    CString m_key;
    CString m_extra1; // not filled by the loader; only copied
    CString m_extra2;
    CString m_extra3;
    CString m_type;            // "integer", "float", "list" or a free value
    CStringArray m_displayList; // "displaystep"
    CStringArray m_valueList;   // "step"
    CString m_value;            // "def"; empty leaves the option out
    CString m_min;
    CString m_max;
};

// Position of the first entry equal to the text (exact), or -1.
int FindInStringArray(const CStringArray& array, const CString& text);
// Appends to out every entry of a (in a's order) that b holds as well; true when out is not empty.
bool IntersectStringArrays(const CStringArray& a, const CStringArray& b, CStringArray& out);
