#include "uilib/markup/MarkupInputElement.h"

#include "uilib/markup/MarkupBuilder.h"
#include "uilib/markup/MarkupContext.h"
#include "uilib/markup/MarkupConverters.h"
#include "uilib/markup/MarkupKeyboardNavigation.h"
#include "uilib/markup/MarkupProperties.h"
#include "uilib/markup/MarkupStyle.h"
#include "uilib/markup/MarkupType.h"
#include "uilib/markup/MarkupValues.h"
#include "uilib/markup/MarkupVisual.h"

CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pCursorProperty;
CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pIsMouseOverProperty;
CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pResourcesProperty;
CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pStyleProperty;
CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pIsKeyboardFocusedProperty;
CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pIsFocusableProperty;
CWVPMarkupDependencyProperty* CWVPMarkupInputElement::s_pToolTipProperty;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseLeaveEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseEnterEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseLeftButtonUpEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseLeftButtonDownEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseRightButtonUpEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseRightButtonDownEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pMouseMoveEvent;
CWVPMarkupRoutedEvent* CWVPMarkupInputElement::s_pLostMouseCaptureEvent;

// ---- Routed events --------------------------------------------------------------------------
BOOL CWVPMarkupRoutedEvent::IsEvent() const
{
    return TRUE;
}

CWVPMarkupRoutedEvent* CWVPMarkupRoutedEvent::RegisterRoutedEvent(LPCWSTR name, int strategy, CWVPMarkupType* owner)
{
    CWVPMarkupRoutedEvent* event = new CWVPMarkupRoutedEvent();
    RegisterCore(event, name, CWVPMarkupString::Type(), owner, FALSE);
    if (strategy)
        event->SetMetadata(new CWVPMarkupPropertyMetadata(nullptr, (DWORD)strategy));
    return event;
}

POINT CWVPMarkupMouseEventArgs::GetPosition(CWVPMarkupInputElement* element) const
{
    POINT p = {m_nX, m_nY};
    for (CWVPMarkupObject* o = element; o; o = o->GetLogicalParent())
    {
        if (o->IsKindOf(CWVPMarkupVisual::Type()))
        {
            POINT offset = static_cast<CWVPMarkupVisual*>(o)->GetVisualOffset();
            p.x -= offset.x;
            p.y -= offset.y;
        }
    }
    return p;
}

// ---- Handler lists --------------------------------------------------------------------------
// The delegates attached to one event, in the order they were attached.
struct CWVPMarkupInputElement::HandlerList
{
    CWVPMarkupRoutedEvent* event;
    CWVPMarkupDelegate** delegates;
    int count;
    int capacity;
    HandlerList* next;
};

// ---- Input element --------------------------------------------------------------------------
IMPLEMENT_MARKUP_TYPE(CWVPMarkupInputElement, kTypeInputElement)

namespace
{
void OnStyleChanged(CWVPMarkupObject* object, CWVPMarkupPropertyChangedEventArgs* args)
{
    CWVPMarkupInputElement* element = static_cast<CWVPMarkupInputElement*>(object);
    CWVPMarkupStyle* style = static_cast<CWVPMarkupStyle*>(MarkupDynamicCast(CWVPMarkupStyle::Type(), args->m_pNewValue));
    if (style)
        style->Seal();
    element->SetCurrentStyle(style);
}
} // namespace

void CWVPMarkupInputElement::RegisterProperties()
{
    CWVPMarkupType* type = Type();
    CWVPMarkupStyle::Type()->EnsureRegistered();
    s_pCursorProperty = CWVPMarkupDependencyProperty::Register(
        L"Cursor", CWVPMarkupInt::Type(), type, new CWVPMarkupPropertyMetadata(nullptr, MarkupConvertCursor, 0));
    s_pIsMouseOverProperty = CWVPMarkupDependencyProperty::Register(
        L"IsMouseOver", CWVPMarkupBool::Type(), type, new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateFalseValue(), 0));
    s_pResourcesProperty = CWVPMarkupStyle::s_pResourcesProperty->AddOwner(type);
    s_pStyleProperty = CWVPMarkupDependencyProperty::Register(
        L"Style", CWVPMarkupStyle::Type(), type, new CWVPMarkupPropertyMetadata(nullptr, OnStyleChanged, 0));
    s_pIsKeyboardFocusedProperty = CWVPMarkupDependencyProperty::Register(
        L"IsKeyboardFocused", CWVPMarkupBool::Type(), type,
        new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateFalseValue(), MetadataAffectsRender));
    s_pIsFocusableProperty = CWVPMarkupDependencyProperty::Register(
        L"IsFocusable", CWVPMarkupBool::Type(), type, new CWVPMarkupPropertyMetadata(CWVPMarkupBool::CreateFalseValue(), 0));
    s_pToolTipProperty = CWVPMarkupDependencyProperty::Register(L"ToolTip", CWVPMarkupObject::Type(), type);
    s_pMouseLeaveEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseLeave", 0, type);
    s_pMouseEnterEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseEnter", 0, type);
    s_pMouseLeftButtonUpEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseLeftButtonUp", 0, type);
    s_pMouseLeftButtonDownEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseLeftButtonDown", 0, type);
    s_pMouseRightButtonUpEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseRightButtonUp", 0, type);
    s_pMouseRightButtonDownEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseRightButtonDown", 0, type);
    s_pMouseMoveEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"MouseMove", 0, type);
    s_pLostMouseCaptureEvent = CWVPMarkupRoutedEvent::RegisterRoutedEvent(L"LostMouseCapture", 0, type);
}

CWVPMarkupInputElement::CWVPMarkupInputElement()
    : m_pHandlers(nullptr), m_pContext(nullptr), m_pActiveTriggers(nullptr), m_pTriggerValues(nullptr),
      m_pCurrentStyle(nullptr)
{
}

CWVPMarkupInputElement::~CWVPMarkupInputElement()
{
    while (m_pHandlers)
    {
        HandlerList* list = m_pHandlers;
        m_pHandlers = list->next;
        for (int i = 0; i < list->count; ++i)
            list->delegates[i]->Release();
        delete[] list->delegates;
        delete list;
    }
    if (m_pActiveTriggers)
        m_pActiveTriggers->Release();
    delete m_pTriggerValues;
}

CWVPMarkupObject* CWVPMarkupInputElement::GetValueCore(CWVPMarkupDependencyProperty* property) const
{
    if (CWVPMarkupObject* v = CWVPMarkupObject::GetValueCore(property))
        return v;
    if (m_pTriggerValues)
        if (CWVPMarkupObject* v = m_pTriggerValues->Get(property))
            return v;
    if (m_pCurrentStyle)
        if (CWVPMarkupObject* v = m_pCurrentStyle->GetStyleValue(property))
            return v;
    CWVPMarkupStyle* defaultStyle = GetType()->GetDefaultStyle();
    return defaultStyle ? defaultStyle->GetStyleValue(property) : nullptr;
}

void CWVPMarkupInputElement::SetPropertyObject(CWVPMarkupBuilder* builder, CWVPMarkupDependencyProperty* property,
                                               CWVPMarkupObject* value)
{
    if (!property || !property->IsEvent())
    {
        CWVPMarkupObject::SetPropertyObject(builder, property, value);
        return;
    }
    if (!m_pContext)
        CWVPMarkupBuilder::ThrowError(value, L"Markup Context is NULL");
    const CWVPMarkupString* name =
        static_cast<const CWVPMarkupString*>(MarkupDynamicCast(CWVPMarkupString::Type(), value));
    CWVPMarkupDelegate* handler = name ? m_pContext->FindDelegate(name->GetText()) : nullptr;
    if (!handler)
        CWVPMarkupBuilder::ThrowError(value, L"'%ls' delegate not found", name ? name->GetText() : L"");
    AddHandler(static_cast<CWVPMarkupRoutedEvent*>(property), handler);
    value->Release();
}

void CWVPMarkupInputElement::OnFinalRelease()
{
    if (m_pContext)
        m_pContext->OnElementReleased(this);
    delete this;
}

void CWVPMarkupInputElement::OnMouseLeave(CWVPMarkupMouseEventArgs*)
{
    SetValue(s_pIsMouseOverProperty, nullptr);
}

void CWVPMarkupInputElement::OnMouseEnter(CWVPMarkupMouseEventArgs*)
{
    SetValue(s_pIsMouseOverProperty, CWVPMarkupBool::CreateTrueValue());
}

void CWVPMarkupInputElement::OnMouseMove(CWVPMarkupMouseEventArgs*)
{
}

void CWVPMarkupInputElement::OnQueryCursor(CWVPMarkupQueryCursorEventArgs* args)
{
    CWVPMarkupObject* cursor = GetValue(s_pCursorProperty);
    if (!cursor)
        return;
    args->m_bHandled = TRUE;
    int id = CWVPMarkupInt::ValueOf(cursor, 0);
    args->m_hCursor = id ? ::LoadCursorW(nullptr, MAKEINTRESOURCEW(id)) : nullptr;
}

void CWVPMarkupInputElement::OnMouseLeftButtonUp(CWVPMarkupMouseEventArgs*)
{
}

void CWVPMarkupInputElement::OnMouseRightButtonUp(CWVPMarkupMouseEventArgs*)
{
}

void CWVPMarkupInputElement::OnMouseLeftButtonDown(CWVPMarkupMouseEventArgs*)
{
}

void CWVPMarkupInputElement::OnMouseRightButtonDown(CWVPMarkupMouseEventArgs*)
{
}

void CWVPMarkupInputElement::OnLostMouseCapture(CWVPMarkupMouseEventArgs*)
{
}

void CWVPMarkupInputElement::OnMouseWheel(CWVPMarkupMouseWheelEventArgs*)
{
}

CWVPMarkupInputElement* CWVPMarkupInputElement::InputHitTest(POINT)
{
    return nullptr;
}

void CWVPMarkupInputElement::AddHandler(CWVPMarkupRoutedEvent* event, CWVPMarkupDelegate* handler)
{
    if (!event || !handler)
        return;
    HandlerList* list = m_pHandlers;
    while (list && list->event != event)
        list = list->next;
    if (!list)
    {
        list = new HandlerList{event, nullptr, 0, 0, m_pHandlers};
        m_pHandlers = list;
    }
    if (list->count == list->capacity)
    {
        int capacity = list->capacity ? list->capacity * 2 : 10;
        CWVPMarkupDelegate** grown = new CWVPMarkupDelegate*[capacity];
        for (int i = 0; i < list->count; ++i)
            grown[i] = list->delegates[i];
        delete[] list->delegates;
        list->delegates = grown;
        list->capacity = capacity;
    }
    handler->AddRef();
    list->delegates[list->count++] = handler;
}

void CWVPMarkupInputElement::CallHandlers(CWVPMarkupRoutedEventArgs* args)
{
    HandlerList* list = m_pHandlers;
    while (list && list->event != args->m_pEvent)
        list = list->next;
    if (!list)
        return;
    for (int i = 0; i < list->count; ++i)
        list->delegates[i]->OnEvent(this, args);
}

void CWVPMarkupInputElement::RaiseEvent(CWVPMarkupRoutedEventArgs* args)
{
    if (!args || !args->m_pEvent)
        return;
    if (!args->m_pEvent->IsBubbling())
    {
        CallHandlers(args);
        return;
    }
    for (CWVPMarkupObject* o = this; o; o = o->GetLogicalParent())
    {
        if (o->IsKindOf(CWVPMarkupInputElement::Type()))
            static_cast<CWVPMarkupInputElement*>(o)->CallHandlers(args);
        if (args->m_bHandled)
            return;
    }
    if (m_pContext)
        m_pContext->RaiseContextEvent(this, args);
}

void CWVPMarkupInputElement::CaptureMouse()
{
    if (m_pContext)
        m_pContext->SetCapture(this);
}

void CWVPMarkupInputElement::ReleaseMouseCapture()
{
    if (m_pContext)
        m_pContext->ReleaseCapture();
}

void CWVPMarkupInputElement::Focus()
{
    if (m_pContext && m_pContext->GetKeyboardNavigation())
        m_pContext->GetKeyboardNavigation()->Focus(this);
}

CWVPMarkupObject* CWVPMarkupInputElement::FindResource(CWVPMarkupObject* key)
{
    return WVPMarkupFindResource(this, key);
}

void CWVPMarkupInputElement::ApplyStyles(CWVPMarkupObject* object)
{
    if (!object)
        return;
    int count = object->GetLogicalChildrenCount();
    for (int i = 0; i < count; ++i)
        ApplyStyles(object->GetLogicalChild(i));
    if (object->IsKindOf(CWVPMarkupInputElement::Type()))
        static_cast<CWVPMarkupInputElement*>(object)->UpdateStyle();
}

void CWVPMarkupInputElement::UpdateStyle()
{
    if (!m_pCurrentStyle)
    {
        CWVPMarkupStyle* style =
            static_cast<CWVPMarkupStyle*>(MarkupDynamicCast(CWVPMarkupStyle::Type(), FindResource(GetType())));
        if (style)
        {
            style->Seal();
            m_pCurrentStyle = style;
        }
    }
    if (!m_pCurrentStyle && !GetType()->GetDefaultStyle())
        return;
    UpdateTriggers(nullptr, nullptr);
}

BOOL CWVPMarkupInputElement::CollectTriggers(CWVPMarkupStyle* style, CWVPMarkupDependencyProperty* property,
                                             CWVPMarkupObject* value)
{
    if (!style)
        return FALSE;
    BOOL activated = CollectTriggers(style->GetBasedOn(), property, value);
    CWVPMarkupTriggerCollection* triggers = style->GetTriggers();
    for (int i = triggers ? triggers->GetCount() - 1 : -1; i >= 0; --i)
    {
        CWVPMarkupTrigger* trigger = static_cast<CWVPMarkupTrigger*>(triggers->GetItem(i));
        CWVPMarkupDependencyProperty* watched = trigger->GetProperty();
        if (!watched)
            continue;
        CWVPMarkupObject* tested = value;
        if (!property)
            tested = GetValue(watched);
        else if (watched != property)
            continue;
        CWVPMarkupObject* expected = trigger->GetTriggerValue();
        if (!expected || !expected->IsEqual(tested))
            continue;
        if (!m_pActiveTriggers)
            m_pActiveTriggers = new CWVPMarkupActiveTriggerCollection();
        trigger->AddRef();
        m_pActiveTriggers->Add(trigger);
        activated = TRUE;
    }
    return activated;
}

namespace
{
// The properties whose trigger values an update changed, with their values before it.
struct ChangeRecord
{
    CWVPMarkupDependencyProperty* property;
    CWVPMarkupObject* old;
};

void Record(ChangeRecord*& records, int& count, int& capacity, CWVPMarkupDependencyProperty* property,
            CWVPMarkupObject* old)
{
    for (int i = 0; i < count; ++i)
        if (records[i].property == property)
            return;
    if (count == capacity)
    {
        capacity = capacity ? capacity * 2 : 8;
        ChangeRecord* grown = new ChangeRecord[capacity];
        for (int i = 0; i < count; ++i)
            grown[i] = records[i];
        delete[] records;
        records = grown;
    }
    if (old)
        old->AddRef();
    records[count++] = {property, old};
}
} // namespace

void CWVPMarkupInputElement::UpdateTriggers(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value)
{
    ChangeRecord* records = nullptr;
    int count = 0, capacity = 0;
    BOOL changed = FALSE;
    if (property && m_pActiveTriggers)
    {
        for (int i = m_pActiveTriggers->GetCount() - 1; i >= 0; --i)
        {
            CWVPMarkupTrigger* trigger = static_cast<CWVPMarkupTrigger*>(m_pActiveTriggers->GetItem(i));
            if (trigger->GetProperty() != property)
                continue;
            CWVPMarkupObject* expected = trigger->GetTriggerValue();
            if (expected && expected->IsEqual(value))
                continue;
            trigger->AddRef();
            m_pActiveTriggers->RemoveAt(i);
            changed = TRUE;
            CWVPMarkupSetterColection* setters = trigger->GetSetters();
            for (int s = 0; setters && s < setters->GetCount(); ++s)
            {
                CWVPMarkupDependencyProperty* target = static_cast<CWVPMarkupSetter*>(setters->GetItem(s))->GetProperty();
                if (!target)
                    continue;
                Record(records, count, capacity, target, m_pTriggerValues ? m_pTriggerValues->Get(target) : nullptr);
                if (m_pTriggerValues)
                    m_pTriggerValues->Set(target, nullptr);
            }
            trigger->Release();
        }
    }
    CWVPMarkupStyle* style = m_pCurrentStyle ? m_pCurrentStyle : GetType()->GetDefaultStyle();
    if (CollectTriggers(style, property, value))
        changed = TRUE;
    if (changed && m_pActiveTriggers)
    {
        if (!m_pTriggerValues)
            m_pTriggerValues = new CWVPMarkupProperties(nullptr);
        for (int i = 0; i < m_pActiveTriggers->GetCount(); ++i)
        {
            CWVPMarkupTrigger* trigger = static_cast<CWVPMarkupTrigger*>(m_pActiveTriggers->GetItem(i));
            CWVPMarkupSetterColection* setters = trigger->GetSetters();
            for (int s = 0; setters && s < setters->GetCount(); ++s)
            {
                CWVPMarkupSetter* setter = static_cast<CWVPMarkupSetter*>(setters->GetItem(s));
                CWVPMarkupDependencyProperty* target = setter->GetProperty();
                CWVPMarkupObject* v = setter->GetSetterValue();
                if (!target)
                    continue;
                CWVPMarkupObject* stored = m_pTriggerValues->Get(target);
                if (stored && stored->IsEqual(v))
                    continue;
                Record(records, count, capacity, target, stored);
                if (v)
                    v->AddRef();
                m_pTriggerValues->Set(target, v);
            }
        }
    }
    for (int i = 0; i < count; ++i)
    {
        CWVPMarkupDependencyProperty* p = records[i].property;
        CWVPMarkupObject* now = m_pTriggerValues ? m_pTriggerValues->Get(p) : nullptr;
        if (records[i].old || now)
        {
            if (now)
                now->AddRef();
            OnPropertyChanged(p, records[i].old, now);
            if (p->GetFlags() & MetadataInherits)
                PropagateInheritedChange(p, records[i].old, now);
            if (now)
                now->Release();
        }
        if (records[i].old)
            records[i].old->Release();
    }
    delete[] records;
}
