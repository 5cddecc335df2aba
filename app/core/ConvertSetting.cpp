#include "app/core/ConvertSetting.h"

namespace
{
struct NamedFrameSize
{
    const WCHAR* name;
    int width;
    int height;
};

const NamedFrameSize kFrameSizes[] = {
    {L"ntsc", 720, 480},     {L"pal", 720, 576},       {L"qntsc", 352, 240},    {L"qpal", 352, 288},
    {L"sntsc", 640, 480},    {L"spal", 768, 576},      {L"film", 352, 240},     {L"ntsc-film", 352, 240},
    {L"sqcif", 128, 96},     {L"qcif", 176, 144},      {L"cif", 352, 288},      {L"4cif", 704, 576},
    {L"16cif", 1408, 1152},  {L"qqvga", 160, 120},     {L"qvga", 320, 240},     {L"vga", 640, 480},
    {L"svga", 800, 600},     {L"xga", 1024, 768},      {L"uxga", 1600, 1200},   {L"qxga", 2048, 1536},
    {L"sxga", 1280, 1024},   {L"qsxga", 2560, 2048},   {L"hsxga", 5120, 4096},  {L"wvga", 852, 480},
    {L"wxga", 1366, 768},    {L"wsxga", 1600, 1024},   {L"wuxga", 1920, 1200},  {L"woxga", 2560, 1600},
    {L"wqsxga", 3200, 2048}, {L"wquxga", 3840, 2400},  {L"whsxga", 6400, 4096}, {L"whuxga", 7680, 4800},
    {L"cga", 320, 200},      {L"ega", 640, 350},       {L"hd480", 852, 480},    {L"hd720", 1280, 720},
    {L"hd1080", 1920, 1080},
};

// What separates words on the converter's command line, besides quotes.
const WCHAR kWordBlanks[] = L" \t\r\n";

// A profile value as one word of the converter's command line. A value with a blank (or none at
// all) goes in double quotes. The command line has no escape for a double quote, so one can never
// be part of a word: it is left out rather than let it swallow the options after it.
CString ArgumentWord(const CString& value)
{
    CString word = value;
    word.Remove(L'"');
    if (word.IsEmpty() || word.FindOneOf(kWordBlanks) >= 0)
        return L"\"" + word + L"\"";
    return word;
}
} // namespace

ConvertSetting::ConvertSetting() = default;

ConvertSetting::ConvertSetting(const ConvertSetting& other)
{
    CopyFrom(other);
}

ConvertSetting& ConvertSetting::operator=(const ConvertSetting& other)
{
    CopyFrom(other);
    return *this;
}

ConvertSetting::~ConvertSetting() = default;

void ConvertSetting::CopyFrom(const ConvertSetting& other)
{
    if (this == &other)
        return;
    m_icon = other.m_icon;
    m_name = other.m_name;
    m_description = other.m_description;
    m_extension = other.m_extension;
    m_extra = other.m_extra;
    m_format = other.m_format;
    m_params.RemoveAll();
    for (INT_PTR i = 0; i < other.m_params.GetSize(); ++i)
        m_params.Add(other.m_params.GetAt(i));
}

bool ConvertSetting::FindParam(const CString& group, const CString& name, SubParameters& out) const
{
    for (INT_PTR i = 0; i < m_params.GetSize(); ++i)
    {
        const SubParameters& param = m_params.GetAt(i);
        if (param.m_group == group && param.m_name == name)
        {
            out.CopyFrom(param);
            return true;
        }
    }
    return false;
}

bool ConvertSetting::MergeFrom(const ConvertSetting& other)
{
    for (INT_PTR i = 0; i < m_params.GetSize();)
    {
        const SubParameters* match = nullptr;
        for (INT_PTR k = 0; k < other.m_params.GetSize() && !match; ++k)
            if (other.m_params.GetAt(k).m_key == m_params.GetAt(i).m_key)
                match = &other.m_params.GetAt(k);
        if (match)
        {
            m_params.ElementAt(i).MergeFrom(*match);
            ++i;
        }
        else
        {
            m_params.RemoveAt(i);
        }
    }
    return true;
}

CString ConvertSetting::BuildArguments() const
{
    CString text;
    for (INT_PTR i = 0; i < m_params.GetSize(); ++i)
    {
        const SubParameters& param = m_params.GetAt(i);
        if (!param.m_key.IsEmpty() && !param.m_value.IsEmpty())
            text += L"-" + param.m_key + L" " + ArgumentWord(param.m_value) + L" ";
    }
    if (!m_format.IsEmpty() && m_format.CompareNoCase(m_extension) != 0)
        text += L"-f " + ArgumentWord(m_format);
    return text;
}

SubParameters* ConvertSetting::FindByKey(const CString& key)
{
    for (INT_PTR i = 0; i < m_params.GetSize(); ++i)
        if (m_params.GetAt(i).m_key == key)
            return &m_params.ElementAt(i);
    return nullptr;
}

bool ConvertSetting::SetParamValue(const CString& key, const CString& value)
{
    SubParameters* param = FindByKey(key);
    if (!param)
        return false;
    param->SetValueClamped(value);
    return true;
}

bool ConvertSetting::SetParamChoice(const CString& key, int index)
{
    SubParameters* param = FindByKey(key);
    if (!param)
        return false;
    if (param->m_type == L"list" && index >= 0 && index < param->m_valueList.GetSize())
        param->m_value = param->m_valueList.GetAt(index);
    return true;
}

CString FrameSizeName(int width, int height)
{
    for (const NamedFrameSize& row : kFrameSizes)
        if (row.width == width && row.height == height)
            return row.name;
    return CString();
}

LPCWSTR FrameSizeNameAt(int index)
{
    return index >= 0 && index < static_cast<int>(sizeof(kFrameSizes) / sizeof(kFrameSizes[0])) ? kFrameSizes[index].name
                                                                                                  : nullptr;
}

void ParseFrameSizeName(const CString& name, int* width, int* height)
{
    *width = *height = 0;
    for (const NamedFrameSize& row : kFrameSizes)
        if (name.CompareNoCase(row.name) == 0)
        {
            *width = row.width;
            *height = row.height;
            return;
        }
}
