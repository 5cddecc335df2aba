#include "uilib/foundation/BufferDC.h"

#include <algorithm>

CWVPBufferDC::CWVPBufferDC(HDC target, const CRect& rect)
    : m_hDestDC(target), m_rect(rect), m_hBitmap(nullptr), m_hOldBitmap(nullptr)
{
    Create(rect.right, rect.bottom);
}

CWVPBufferDC::CWVPBufferDC(CPaintDC& paintDC)
    : m_hDestDC(paintDC.m_hDC), m_rect(paintDC.m_ps.rcPaint), m_hBitmap(nullptr), m_hOldBitmap(nullptr)
{
    Create(std::max((int)m_rect.right, 1), std::max((int)m_rect.bottom, 1));
    if (m_hDC)
        ::IntersectClipRect(m_hDC, m_rect.left, m_rect.top, m_rect.right, m_rect.bottom);
}

void CWVPBufferDC::Create(int width, int height)
{
    if (!Attach(::CreateCompatibleDC(m_hDestDC)))
        return;
    m_hBitmap = ::CreateCompatibleBitmap(m_hDestDC, width, height);
    if (m_hBitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
}

CWVPBufferDC::~CWVPBufferDC()
{
    if (!m_hDC)
        return;
    if (m_hDestDC && m_hBitmap)
        ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
                 SRCCOPY);
    if (m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    DeleteDC();
}

void CWVPBufferDC::Discard()
{
    m_hDestDC = nullptr;
}

CWVPBufferDCEx::CWVPBufferDCEx(HDC target, const CRect& rect)
    : m_hDestDC(target), m_rect(rect), m_hBitmap(nullptr), m_hOldBitmap(nullptr)
{
    if (!Attach(::CreateCompatibleDC(target)))
        return;
    m_hBitmap = ::CreateCompatibleBitmap(target, std::max(rect.Width(), 1), std::max(rect.Height(), 1));
    if (m_hBitmap)
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
    ::SetViewportOrgEx(m_hDC, -rect.left, -rect.top, nullptr);
}

CWVPBufferDCEx::~CWVPBufferDCEx()
{
    if (!m_hDC)
        return;
    ::SetViewportOrgEx(m_hDC, 0, 0, nullptr);
    if (m_hDestDC && m_hBitmap)
        ::BitBlt(m_hDestDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, 0, 0, SRCCOPY);
    if (m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    DeleteDC();
}
