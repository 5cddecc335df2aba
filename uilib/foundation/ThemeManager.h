#pragma once
// Replaceable drawing styles shared by a family of controls. Each UI thread has a registry
// (CWVThemeManager) of one factory per family; the factory holds the family's current theme and
// the hosts (controls) that use it, and a single control may carry a private theme of its own.
#include "platform/mfc/Mfc.h"

class CWVThemeManagerStyle;
class CWVThemeManagerStyleHost;
class CWVThemeManager;

// One family's theme holder: creates the theme on first request, replaces it on demand and tells
// every control of the family. Each family derives its own class and overrides CreateTheme.
class CWVThemeManagerStyleFactory : public CObject
{
    DECLARE_DYNCREATE(CWVThemeManagerStyleFactory)

  public:
    CWVThemeManagerStyleFactory();
    ~CWVThemeManagerStyleFactory() override;

    // The current theme, created with the thread's default theme id on first request.
    CWVThemeManagerStyle* GetTheme();
    // Installs a new theme (the factory takes it over) and notifies every host; null is ignored.
    void SetTheme(CWVThemeManagerStyle* pTheme);

    virtual CWVThemeManagerStyle* CreateTheme(int nTheme);
    virtual void RefreshTheme();

  private:
    friend class CWVThemeManager;
    friend class CWVThemeManagerStyleHost;
    void AddHost(CWVThemeManagerStyleHost* pHost);
    void RemoveHost(CWVThemeManagerStyleHost* pHost);

    CWVThemeManagerStyle* m_pTheme;
    CWVThemeManagerStyleHost* m_pFirstHost;
    CWVThemeManagerStyleFactory* m_pNextFactory;
    // The registry whose factory list holds this factory; cleared when the registry goes first.
    CWVThemeManager* m_pManager;
};

// The base of every theme: metrics and the transparent-background snapshot.
class CWVThemeManagerStyle
{
  public:
    CWVThemeManagerStyle();
    virtual ~CWVThemeManagerStyle();
    CWVThemeManagerStyle(const CWVThemeManagerStyle&) = delete;
    CWVThemeManagerStyle& operator=(const CWVThemeManagerStyle&) = delete;

    virtual void RefreshMetrics();
    // Copies the parent's pixels under the window into the snapshot; FALSE without a parent.
    virtual BOOL CaptureParentBackground(CWnd* pWnd);
    // For WS_EX_TRANSPARENT windows: paints the parent's pixels under the window into the DC.
    virtual BOOL DrawTransparentBackground(CDC* pDC, CWnd* pWnd);

    CWVThemeManagerStyleFactory* m_pFactory;
    int m_nTheme;
    CBitmap m_bmpParentBackground;
};

// The part of a themed control that finds its theme: the shared factory of its family, or a
// private factory when the control was given a theme of its own.
class CWVThemeManagerStyleHost
{
  public:
    explicit CWVThemeManagerStyleHost(CRuntimeClass* pFactoryClass = nullptr);
    virtual ~CWVThemeManagerStyleHost();
    CWVThemeManagerStyleHost(const CWVThemeManagerStyleHost&) = delete;
    CWVThemeManagerStyleHost& operator=(const CWVThemeManagerStyleHost&) = delete;

    void AttachFactoryClass(CRuntimeClass* pFactoryClass);
    CWVThemeManagerStyleFactory* GetFactory() const;
    CWVThemeManagerStyle* GetTheme() const;
    // A private theme for this control (taken over), or null to return to the shared theme. The
    // control's current private theme changes nothing; the family's shared theme returns to it.
    void SetTheme(CWVThemeManagerStyle* pTheme);

    virtual CWVThemeManagerStyleFactory* CreateOwnFactory();
    virtual void OnThemeChanged();

  private:
    friend class CWVThemeManagerStyleFactory;
    void LeaveFactory();

    BOOL m_bOwnFactory;
    CRuntimeClass* m_pFactoryClass;
    CWVThemeManagerStyleFactory* m_pOwnFactory;
    CWVThemeManagerStyleFactory* m_pSharedFactory;
    CWVThemeManagerStyleHost* m_pNextHost;
};

// The calling thread's registry of shared factories, made on first use and deleted with the
// thread (or at exit).
class CWVThemeManager : public CNoTrackObject
{
  public:
    CWVThemeManager();
    ~CWVThemeManager() override;

    // The thread's shared factory of this class, created on first request.
    CWVThemeManagerStyleFactory* GetFactory(CRuntimeClass* pFactoryClass);

    CMapPtrToPtr m_mapFactories;
    int m_nDefaultTheme;
    CWVThemeManagerStyleFactory* m_pFirstFactory;
};

CWVThemeManager* AFXAPI WVPThemeManager();
