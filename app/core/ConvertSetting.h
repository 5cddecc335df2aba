// One conversion profile: the output target's name, picture, extension, container format and
// parameters. The profile loader fills it; every task keeps its own copy and turns it into the
// argument text of its job; the parameter panel edits the copies through the operations here.
#pragma once

#include "app/core/SubParameters.h"
#include "platform/mfc/Mfc.h"

class ConvertSetting
{
public:
    ConvertSetting();
    ConvertSetting(const ConvertSetting& other);
    ConvertSetting& operator=(const ConvertSetting& other);
    ~ConvertSetting();

    // Deep copy: the texts and a copy of every parameter replace this profile's own.
    void CopyFrom(const ConvertSetting& other);
    // True and a copy of the first parameter whose group and name equal the given ones.
    bool FindParam(const CString& group, const CString& name, SubParameters& out) const;
    // Keeps only the parameters the other profile has as well (matched by key) and merges each.
    bool MergeFrom(const ConvertSetting& other);
    // The converter's option text: "-key value " per parameter with key and value, then
    // "-f format" when the format differs from the extension. A value with a blank is quoted so
    // that it stays one word; double quotes in a value are left out.
    CString BuildArguments() const;
    bool SetParamValue(const CString& key, const CString& value);
    bool SetParamChoice(const CString& key, int index);

    CString m_icon;
    CString m_name;
    CString m_description;
    CString m_extension; // without the "."
    CString m_extra;     // not filled by the loader; only copied
    CString m_format;
    CArray<SubParameters, const SubParameters&> m_params;

private:
    SubParameters* FindByKey(const CString& key);
};

// The table of named frame sizes ("qvga" 320x240 ...): the first row that matches wins.
CString FrameSizeName(int width, int height);
// The table's names in order (the custom resolution dialog's list); null past the last row.
LPCWSTR FrameSizeNameAt(int index);
// Width and height of the first row whose name equals the text ignoring case; 0 and 0 if none.
void ParseFrameSizeName(const CString& name, int* width, int* height);
