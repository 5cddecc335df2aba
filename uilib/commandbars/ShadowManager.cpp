#include "uilib/commandbars/ShadowManager.h"

CWVPShadowManager::CShadowWnd::CShadowWnd(CWVPShadowManager* pManager)
    : m_nSide(ShadowRight), m_bHasRegion(FALSE), m_pShadowOwner(nullptr), m_bControlShadow(FALSE),
      m_pManager(pManager)
{
}

CWVPShadowManager::CShadowWnd::~CShadowWnd()
{
}

BEGIN_MESSAGE_MAP(CWVPShadowManager::CShadowWnd, CWnd)
END_MESSAGE_MAP()

BOOL CWVPShadowManager::CShadowWnd::Create(int, int, int, int, int)
{
    return FALSE;
}

void CWVPShadowManager::CShadowWnd::ExcludeRect(CRect)
{
}

void CWVPShadowManager::CShadowWnd::MergeWithNeighbours(CShadowList*)
{
}

int CWVPShadowManager::CShadowWnd::OnHookMessage(HWND, UINT, WPARAM&, LPARAM&, LRESULT&)
{
    return HookNotHandled;
}

BOOL CWVPShadowManager::CShadowWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CWVPShadowManager::CShadowWnd::OnPaint()
{
}

void CWVPShadowManager::CShadowWnd::OnSize(UINT, int, int)
{
}

LRESULT CWVPShadowManager::CShadowWnd::OnNcHitTest(CPoint)
{
    return HTTRANSPARENT;
}

CWVPShadowManager::CWVPShadowManager()
    : m_bUseClassStyle(TRUE), m_pfnUpdateLayeredWindow(nullptr), m_bAlphaShadow(FALSE), m_nShadowOptions(0),
      m_clrShadow(0)
{
}

CWVPShadowManager::~CWVPShadowManager()
{
}

BOOL CWVPShadowManager::IsAlphaShadowAvailable() const
{
    return FALSE;
}

void CWVPShadowManager::SetShadow(CWnd*, const CRect&)
{
}

void CWVPShadowManager::SetControlShadow(const CRect&, CWnd*)
{
}

CWVPShadowManager::CShadowWnd* CWVPShadowManager::CreateShadow(int, const CRect&, const CRect&, CWnd*, BOOL)
{
    return nullptr;
}

void CWVPShadowManager::RemoveShadows(CWnd*)
{
}

void CWVPShadowManager::DestroyShadow(CShadowWnd*)
{
}

void CWVPShadowManager::OffsetShadows(CWnd*, int, int)
{
}
