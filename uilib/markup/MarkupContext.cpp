#include "uilib/markup/MarkupContext.h"

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupElements.h"
#include "uilib/markup/MarkupFrameworkElement.h"
#include "uilib/markup/MarkupInputElement.h"
#include "uilib/markup/MarkupParser.h"
#include "uilib/markup/MarkupTooltipContext.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupVisual.h"

#include <stddef.h>

namespace
{
// The size the non-client metrics are read with.
const UINT kNonClientMetricsSize = 500;
BOOL g_typesRegistered;

BOOL SameFaceName(const LOGFONTW& a, const LOGFONTW& b)
{
    for (int i = 0; i < LF_FACESIZE; ++i)
    {
        if (a.lfFaceName[i] != b.lfFaceName[i])
            return FALSE;
        if (!a.lfFaceName[i])
            break;
    }
    return TRUE;
}

// The cache shares one font between descriptions that differ only in width, angles, precisions,
// quality or pitch.
BOOL SameFont(const LOGFONTW& a, const LOGFONTW& b)
{
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           SameFaceName(a, b);
}

// Every field equal (the face name up to its terminator).
BOOL SameDescription(const LOGFONTW& a, const LOGFONTW& b)
{
    return ::memcmp(&a, &b, offsetof(LOGFONTW, lfFaceName)) == 0 && SameFaceName(a, b);
}
} // namespace

struct CWVPMarkupContext::DelegateEntry
{
    LPWSTR name;
    CWVPMarkupDelegate* handler;
    DelegateEntry* next;
};

// ---- Fonts ----------------------------------------------------------------------------------
CWVPMarkupFont::CWVPMarkupFont(CWVPMarkupContext* owner, const LOGFONTW& description)
    : m_hFont(::CreateFontIndirectW(&description)), m_lf(description), m_pNext(nullptr), m_pOwner(owner)
{
}

CWVPMarkupFont::~CWVPMarkupFont()
{
    if (m_pOwner)
    {
        CWVPMarkupFont* previous = nullptr;
        for (CWVPMarkupFont* f = m_pOwner->m_pFontHead; f; previous = f, f = f->m_pNext)
        {
            if (f != this)
                continue;
            (previous ? previous->m_pNext : m_pOwner->m_pFontHead) = m_pNext;
            if (m_pOwner->m_pFontTail == this)
                m_pOwner->m_pFontTail = previous;
            break;
        }
    }
    if (m_hFont)
        ::DeleteObject(m_hFont);
}

// ---- Context --------------------------------------------------------------------------------
CWVPMarkupContext::CWVPMarkupContext(HWND hwnd)
    : m_hWnd(hwnd), m_clrDefaultText(0), m_lfDefault(), m_pHoverElement(nullptr), m_pCapturedElement(nullptr),
      m_pActiveRoot(nullptr), m_pFontHead(nullptr), m_pFontTail(nullptr), m_pDelegates(nullptr),
      m_pKeyboardNavigation(nullptr), m_pTooltipContext(nullptr), m_nRef(1), m_nFontGeneration(0)
{
    BYTE metrics[kNonClientMetricsSize > sizeof(NONCLIENTMETRICSW) ? kNonClientMetricsSize
                                                                   : sizeof(NONCLIENTMETRICSW)] = {};
    NONCLIENTMETRICSW* ncm = reinterpret_cast<NONCLIENTMETRICSW*>(metrics);
    ncm->cbSize = sizeof(NONCLIENTMETRICSW);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICSW), ncm, 0))
        m_lfDefault = ncm->lfMessageFont;
    RegisterAllTypes();
    m_pKeyboardNavigation = new CWVPMarkupKeyboardNavigation(this);
    m_pTooltipContext = new CTooltipContext(this);
}

CWVPMarkupContext::~CWVPMarkupContext()
{
    m_pHoverElement = nullptr;
    m_pCapturedElement = nullptr;
    m_pActiveRoot = nullptr;
    if (m_pKeyboardNavigation)
        m_pKeyboardNavigation->Release();
    if (m_pTooltipContext)
    {
        m_pTooltipContext->DetachMarkupContext();
        m_pTooltipContext->InternalRelease();
    }
    while (m_pDelegates)
    {
        DelegateEntry* e = m_pDelegates;
        m_pDelegates = e->next;
        e->handler->Release();
        delete[] e->name;
        delete e;
    }
    for (CWVPMarkupFont* f = m_pFontHead; f; f = f->m_pNext)
        f->m_pOwner = nullptr;
}

void CWVPMarkupContext::RegisterAllTypes()
{
    if (g_typesRegistered)
        return;
    g_typesRegistered = TRUE;
    for (CWVPMarkupType* type = CWVPMarkupType::GetFirstType(); type; type = type->GetNext())
        type->EnsureRegistered();
}

LONG CWVPMarkupContext::AddRef()
{
    return ++m_nRef;
}

LONG CWVPMarkupContext::Release()
{
    if (m_nRef == 0)
        return 0;
    LONG n = ::InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return n;
}

CWVPMarkupObject* CWVPMarkupContext::Parse(LPCWSTR text)
{
    return Parse(text, nullptr, 0);
}

CWVPMarkupObject* CWVPMarkupContext::Parse(LPCWSTR text, LPWSTR error, int errorSize)
{
    if (error && errorSize > 0)
        error[0] = 0;
    if (!text)
        return nullptr;
    CWVPMarkupObject* root = nullptr;
    try
    {
        CWVPMarkupParser parser;
        parser.SetBuffer(text, text + MarkupTextLength(text));
        CWVPMarkupBuilder builder(this);
        root = builder.Parse(&parser);
        if (error && errorSize > 0)
            CWVPMarkupBuilder::FormatMessage(error, errorSize, L"%ls", builder.GetLastError(), nullptr, nullptr);
    }
    catch (CException* e)
    {
        e->Delete();
        root = nullptr;
    }
    catch (...)
    {
        root = nullptr;
    }
    return root;
}

CWVPMarkupObject* CWVPMarkupContext::CreateObject(CWVPMarkupType* type)
{
    if (!type)
        return nullptr;
    CWVPMarkupObject* object = type->CreateObject();
    if (object && object->IsKindOf(CWVPMarkupInputElement::Type()))
    {
        static_cast<CWVPMarkupInputElement*>(object)->SetMarkupContext(this);
        AddRef();
    }
    return object;
}

void CWVPMarkupContext::OnElementReleased(CWVPMarkupInputElement* element)
{
    if (m_pHoverElement == element)
        m_pHoverElement = nullptr;
    if (m_pActiveRoot == element)
        m_pActiveRoot = nullptr;
    if (m_pCapturedElement == element)
        m_pCapturedElement = nullptr;
    element->SetMarkupContext(nullptr);
    Release();
}

void CWVPMarkupContext::SetDefaultFont(HFONT font)
{
    LOGFONTW lf;
    if (!font || ::GetObjectType(font) != OBJ_FONT || ::GetObjectW(font, sizeof(lf), &lf) != sizeof(lf))
        return;
    if (SameDescription(lf, m_lfDefault))
        return;
    m_lfDefault = lf;
    // Text elements build their fonts from the default while measuring, and measures are cached.
    ++m_nFontGeneration;
}

CWVPMarkupFont* CWVPMarkupContext::GetFont(const LOGFONTW& description)
{
    for (CWVPMarkupFont* f = m_pFontHead; f; f = f->m_pNext)
    {
        if (SameFont(f->m_lf, description))
        {
            f->AddRef();
            return f;
        }
    }
    CWVPMarkupFont* font = new CWVPMarkupFont(this, description);
    if (m_pFontTail)
        m_pFontTail->m_pNext = font;
    else
        m_pFontHead = font;
    m_pFontTail = font;
    return font;
}

void CWVPMarkupContext::SetCapture(CWVPMarkupInputElement* element)
{
    m_pCapturedElement = element;
    if (m_hWnd)
        ::SetCapture(m_hWnd);
}

void CWVPMarkupContext::ReleaseCapture()
{
    m_pCapturedElement = nullptr;
    if (m_hWnd)
        ::ReleaseCapture();
}

CWVPMarkupDelegate* CWVPMarkupContext::FindDelegate(LPCWSTR name) const
{
    for (DelegateEntry* e = m_pDelegates; e; e = e->next)
        if (MarkupTextEqual(e->name, name))
            return e->handler;
    return nullptr;
}

void CWVPMarkupContext::AddDelegate(LPCWSTR name, CWVPMarkupDelegate* handler)
{
    if (!name || !handler)
        return;
    handler->AddRef();
    for (DelegateEntry* e = m_pDelegates; e; e = e->next)
    {
        if (MarkupTextEqual(e->name, name))
        {
            e->handler->Release();
            e->handler = handler;
            return;
        }
    }
    int n = MarkupTextLength(name);
    LPWSTR copy = new WCHAR[n + 1];
    ::CopyMemory(copy, name, (n + 1) * sizeof(WCHAR));
    m_pDelegates = new DelegateEntry{copy, handler, m_pDelegates};
}

void CWVPMarkupContext::RaiseContextEvent(CWVPMarkupInputElement*, CWVPMarkupRoutedEventArgs*)
{
    // No context-level handlers are installed by the library.
}

RECT CWVPMarkupContext::GetElementRect(CWVPMarkupInputElement* element) const
{
    RECT rect = {0, 0, 0, 0};
    CWVPMarkupVisual* visual = nullptr;
    if (element && element->IsKindOf(CWVPMarkupVisual::Type()))
        visual = static_cast<CWVPMarkupVisual*>(element);
    else if (element && element->IsKindOf(CWVPMarkupFrameworkContentElement::Type()))
    {
        // Text content is drawn by the framework element that hosts it: its nearest such ancestor.
        for (CWVPMarkupObject* p = element->GetLogicalParent(); p && !visual; p = p->GetLogicalParent())
            if (p->IsKindOf(CWVPMarkupFrameworkElement::Type()))
                visual = static_cast<CWVPMarkupVisual*>(p);
    }
    if (!visual)
        return rect;
    rect = visual->GetBoundingBox();
    for (CWVPMarkupVisual* v = visual; v; v = v->GetVisualParent())
        ::OffsetRect(&rect, v->GetVisualOffset().x, v->GetVisualOffset().y);
    return rect;
}

void CWVPMarkupContext::OnInvalidateVisual(CWVPMarkupInputElement* element)
{
    if (!m_hWnd)
        return;
    RECT rect = GetElementRect(element);
    ::InvalidateRect(m_hWnd, &rect, FALSE);
}

void CWVPMarkupContext::OnInvalidateArrange(CWVPMarkupInputElement*)
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}
