#include "app/core/LeftShowItem.h"

LeftShowItem::LeftShowItem() = default;

LeftShowItem::LeftShowItem(const LeftShowItem& other)
{
    CopyFrom(other);
}

LeftShowItem& LeftShowItem::operator=(const LeftShowItem& other)
{
    if (this != &other)
    {
        m_profiles.RemoveAll();
        CopyFrom(other);
    }
    return *this;
}

LeftShowItem::~LeftShowItem() = default;

void LeftShowItem::CopyFrom(const LeftShowItem& other)
{
    if (this == &other)
        return;
    m_icon = other.m_icon;
    m_name = other.m_name;
    m_description = other.m_description;
    for (INT_PTR i = 0; i < other.m_profiles.GetSize(); ++i)
        m_profiles.Add(other.m_profiles.GetAt(i));
}
