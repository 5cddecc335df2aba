#include "uilib/foundation/ThemeManager.h"

namespace
{
CThreadLocal<CWVThemeManager> g_themeManager;

// Unlinks pItem from a singly linked list whose links are reached through Next.
template <class T, class NextOf> void Unlink(T*& pFirst, T* pItem, NextOf next)
{
    for (T** pp = &pFirst; *pp; pp = &next(*pp))
    {
        if (*pp == pItem)
        {
            *pp = next(pItem);
            next(pItem) = nullptr;
            return;
        }
    }
}
} // namespace

CWVThemeManager* AFXAPI WVPThemeManager()
{
    return g_themeManager.GetData();
}

// ---------------------------------------------------------------------------------------------
// CWVThemeManager

CWVThemeManager::CWVThemeManager() : m_mapFactories(10), m_nDefaultTheme(0), m_pFirstFactory(nullptr)
{
}

CWVThemeManager::~CWVThemeManager()
{
    for (CWVThemeManagerStyleFactory* p = m_pFirstFactory; p; p = p->m_pNextFactory)
        p->m_pManager = nullptr;
    m_pFirstFactory = nullptr;
    POSITION pos = m_mapFactories.GetStartPosition();
    while (pos)
    {
        void* key = nullptr;
        void* value = nullptr;
        m_mapFactories.GetNextAssoc(pos, key, value);
        delete static_cast<CWVThemeManagerStyleFactory*>(value);
    }
    m_mapFactories.RemoveAll();
}

CWVThemeManagerStyleFactory* CWVThemeManager::GetFactory(CRuntimeClass* pFactoryClass)
{
    if (!pFactoryClass)
        return nullptr;
    void* value = nullptr;
    if (m_mapFactories.Lookup(pFactoryClass, value))
        return static_cast<CWVThemeManagerStyleFactory*>(value);
    CObject* pObject = pFactoryClass->CreateObject();
    auto* pFactory = static_cast<CWVThemeManagerStyleFactory*>(
        AfxDynamicDownCast(RUNTIME_CLASS(CWVThemeManagerStyleFactory), pObject));
    if (!pFactory)
    {
        delete pObject;
        return nullptr;
    }
    m_mapFactories.SetAt(pFactoryClass, pFactory);
    return pFactory;
}

// ---------------------------------------------------------------------------------------------
// CWVThemeManagerStyleFactory

IMPLEMENT_DYNCREATE(CWVThemeManagerStyleFactory, CObject)

CWVThemeManagerStyleFactory::CWVThemeManagerStyleFactory()
    : m_pTheme(nullptr), m_pFirstHost(nullptr), m_pNextFactory(nullptr), m_pManager(WVPThemeManager())
{
    m_pNextFactory = m_pManager->m_pFirstFactory;
    m_pManager->m_pFirstFactory = this;
}

CWVThemeManagerStyleFactory::~CWVThemeManagerStyleFactory()
{
    if (m_pManager)
        Unlink(m_pManager->m_pFirstFactory, this,
               [](CWVThemeManagerStyleFactory* p) -> CWVThemeManagerStyleFactory*& { return p->m_pNextFactory; });
    // Hosts that still name this factory must not reach it any more.
    for (CWVThemeManagerStyleHost* pHost = m_pFirstHost; pHost;)
    {
        CWVThemeManagerStyleHost* pNext = pHost->m_pNextHost;
        if (pHost->m_pSharedFactory == this)
            pHost->m_pSharedFactory = nullptr;
        if (pHost->m_pOwnFactory == this)
        {
            pHost->m_pOwnFactory = nullptr;
            pHost->m_bOwnFactory = FALSE;
        }
        pHost->m_pNextHost = nullptr;
        pHost = pNext;
    }
    delete m_pTheme;
}

CWVThemeManagerStyle* CWVThemeManagerStyleFactory::CreateTheme(int /*nTheme*/)
{
    return nullptr;
}

CWVThemeManagerStyle* CWVThemeManagerStyleFactory::GetTheme()
{
    if (!m_pTheme)
    {
        CWVThemeManager* pManager = m_pManager ? m_pManager : WVPThemeManager();
        m_pTheme = CreateTheme(pManager->m_nDefaultTheme);
        if (m_pTheme)
        {
            m_pTheme->m_pFactory = this;
            m_pTheme->RefreshMetrics();
        }
    }
    return m_pTheme;
}

void CWVThemeManagerStyleFactory::SetTheme(CWVThemeManagerStyle* pTheme)
{
    if (!pTheme || pTheme == m_pTheme)
        return;
    delete m_pTheme;
    m_pTheme = pTheme;
    m_pTheme->m_pFactory = this;
    m_pTheme->RefreshMetrics();
    for (CWVThemeManagerStyleHost* pHost = m_pFirstHost; pHost; pHost = pHost->m_pNextHost)
        pHost->OnThemeChanged();
}

void CWVThemeManagerStyleFactory::RefreshTheme()
{
    if (m_pTheme)
        m_pTheme->RefreshMetrics();
}

void CWVThemeManagerStyleFactory::AddHost(CWVThemeManagerStyleHost* pHost)
{
    RemoveHost(pHost);
    pHost->m_pNextHost = m_pFirstHost;
    m_pFirstHost = pHost;
}

void CWVThemeManagerStyleFactory::RemoveHost(CWVThemeManagerStyleHost* pHost)
{
    Unlink(m_pFirstHost, pHost,
           [](CWVThemeManagerStyleHost* p) -> CWVThemeManagerStyleHost*& { return p->m_pNextHost; });
}

// ---------------------------------------------------------------------------------------------
// CWVThemeManagerStyle

CWVThemeManagerStyle::CWVThemeManagerStyle() : m_pFactory(nullptr), m_nTheme(0)
{
}

CWVThemeManagerStyle::~CWVThemeManagerStyle() = default;

void CWVThemeManagerStyle::RefreshMetrics()
{
}

BOOL CWVThemeManagerStyle::CaptureParentBackground(CWnd* pWnd)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    HWND hParent = hWnd ? ::GetParent(hWnd) : nullptr;
    if (!hParent)
        return FALSE;
    m_bmpParentBackground.DeleteObject();
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(HWND_DESKTOP, hParent, reinterpret_cast<LPPOINT>(&rc), 2);
    CWindowDC dcParent(CWnd::FromHandle(hParent));
    if (!m_bmpParentBackground.CreateCompatibleBitmap(&dcParent, rc.Width(), rc.Height()))
        return FALSE;
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(&dcParent))
        return FALSE;
    // The parent's window DC starts at its window corner, the rectangle at its client corner.
    CRect rcParentWindow;
    ::GetWindowRect(hParent, &rcParentWindow);
    POINT ptClient = {0, 0};
    ::ClientToScreen(hParent, &ptClient);
    const int dx = ptClient.x - rcParentWindow.left;
    const int dy = ptClient.y - rcParentWindow.top;
    HGDIOBJ hOld = ::SelectObject(dcMem, m_bmpParentBackground.GetSafeHandle());
    ::BitBlt(dcMem, 0, 0, rc.Width(), rc.Height(), dcParent, rc.left + dx, rc.top + dy, SRCCOPY);
    ::SelectObject(dcMem, hOld);
    return TRUE;
}

BOOL CWVThemeManagerStyle::DrawTransparentBackground(CDC* pDC, CWnd* pWnd)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    if (!hWnd || !(::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
        return FALSE;
    if (!CaptureParentBackground(pWnd))
        return FALSE;
    CRect rcClient;
    ::GetClientRect(hWnd, &rcClient);
    CDC dcMem;
    if (!dcMem.CreateCompatibleDC(pDC))
        return FALSE;
    HGDIOBJ hOld = ::SelectObject(dcMem, m_bmpParentBackground.GetSafeHandle());
    ::BitBlt(pDC->GetSafeHdc(), 0, 0, rcClient.Width(), rcClient.Height(), dcMem, 0, 0, SRCCOPY);
    ::SelectObject(dcMem, hOld);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CWVThemeManagerStyleHost

CWVThemeManagerStyleHost::CWVThemeManagerStyleHost(CRuntimeClass* pFactoryClass)
    : m_bOwnFactory(FALSE), m_pFactoryClass(nullptr), m_pOwnFactory(nullptr), m_pSharedFactory(nullptr),
      m_pNextHost(nullptr)
{
    if (pFactoryClass)
        AttachFactoryClass(pFactoryClass);
}

CWVThemeManagerStyleHost::~CWVThemeManagerStyleHost()
{
    LeaveFactory();
    if (m_bOwnFactory)
        delete m_pOwnFactory;
}

void CWVThemeManagerStyleHost::LeaveFactory()
{
    if (CWVThemeManagerStyleFactory* pFactory = GetFactory())
        pFactory->RemoveHost(this);
}

void CWVThemeManagerStyleHost::AttachFactoryClass(CRuntimeClass* pFactoryClass)
{
    if (m_pSharedFactory)
        m_pSharedFactory->RemoveHost(this);
    m_pFactoryClass = pFactoryClass;
    m_pSharedFactory = WVPThemeManager()->GetFactory(pFactoryClass);
    if (m_pSharedFactory && !m_pOwnFactory)
        m_pSharedFactory->AddHost(this);
}

CWVThemeManagerStyleFactory* CWVThemeManagerStyleHost::GetFactory() const
{
    return m_pOwnFactory ? m_pOwnFactory : m_pSharedFactory;
}

CWVThemeManagerStyle* CWVThemeManagerStyleHost::GetTheme() const
{
    CWVThemeManagerStyleFactory* pFactory = GetFactory();
    return pFactory ? pFactory->GetTheme() : nullptr;
}

CWVThemeManagerStyleFactory* CWVThemeManagerStyleHost::CreateOwnFactory()
{
    if (!m_pFactoryClass)
        return nullptr;
    CObject* pObject = m_pFactoryClass->CreateObject();
    auto* pFactory = static_cast<CWVThemeManagerStyleFactory*>(
        AfxDynamicDownCast(RUNTIME_CLASS(CWVThemeManagerStyleFactory), pObject));
    if (!pFactory)
        delete pObject;
    return pFactory;
}

void CWVThemeManagerStyleHost::OnThemeChanged()
{
}

void CWVThemeManagerStyleHost::SetTheme(CWVThemeManagerStyle* pTheme)
{
    // A theme that a factory of this control already holds is not taken over: its own private
    // theme stays as it is, and the family's shared theme means going back to sharing it.
    if (pTheme && m_pOwnFactory && pTheme == m_pOwnFactory->m_pTheme)
        return;
    if (pTheme && m_pSharedFactory && pTheme == m_pSharedFactory->m_pTheme)
        pTheme = nullptr;
    if (!m_pOwnFactory && !pTheme)
        return;
    LeaveFactory();
    if (m_bOwnFactory)
        delete m_pOwnFactory;
    m_pOwnFactory = nullptr;
    m_bOwnFactory = FALSE;
    if (pTheme)
    {
        m_pOwnFactory = CreateOwnFactory();
        if (m_pOwnFactory)
        {
            m_pOwnFactory->SetTheme(pTheme);
            m_bOwnFactory = TRUE;
        }
        else
        {
            delete pTheme;
        }
    }
    OnThemeChanged();
    if (CWVThemeManagerStyleFactory* pFactory = GetFactory())
        pFactory->AddHost(this);
}
