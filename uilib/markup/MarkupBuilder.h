// Turns the token stream of a markup parser into a tree of markup objects: finds types by tag,
// creates objects through the context, sets attributes, handles property elements, collects text
// with the white-space rules, and fails with one message, line and position.
#pragma once

#include "platform/mfc/Exception.h"
#include "uilib/markup/MarkupObject.h"

class CWVPMarkupContext;
class CWVPMarkupParser;
class CWVPMarkupDependencyProperty;
class CWVPMarkupObjectProperty;

// The exception that aborts a build; its message is at most 255 units.
class CWVPMarkupBuilderException : public CSimpleException
{
  public:
    explicit CWVPMarkupBuilderException(LPCWSTR message);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

  private:
    WCHAR m_szMessage[256];
};

class CWVPMarkupBuilder
{
  public:
    // Elements may nest this deep; deeper markup fails instead of exhausting the stack.
    enum
    {
        kMaxDepth = 256
    };

    explicit CWVPMarkupBuilder(CWVPMarkupContext* context);
    virtual ~CWVPMarkupBuilder();

    CWVPMarkupObject* Parse(CWVPMarkupParser* parser);
    LPCWSTR GetLastError() const { return m_lpszError ? m_lpszError : L""; }
    CWVPMarkupContext* GetContext() const { return m_pContext; }

    CWVPMarkupObject* CreateObject(LPCWSTR tag);
    static CWVPMarkupDependencyProperty* FindProperty(LPCWSTR ownerTag, LPCWSTR name);
    static CWVPMarkupDependencyProperty* ResolveAttribute(CWVPMarkupType* type, LPCWSTR name);

    // Conversions and markup extensions (one reference each; failures throw the builder error).
    CWVPMarkupObject* ConvertValue(CWVPMarkupDependencyProperty* property, CWVPMarkupObject* value);
    CWVPMarkupObject* ParseExtension(LPWSTR text);
    CWVPMarkupObject* ResolveResourceKey(LPWSTR text);
    CWVPMarkupObject* FindResource(LPWSTR keyText);
    CWVPMarkupObject* GetStaticMember(LPCWSTR name);
    // The shared system colour, brush and key objects of this build, with a reference.
    CWVPMarkupObject* GetSystemObject(int table, int index);

    // Formats the message ("%ls" takes the next text argument), releases the given object (which
    // a refusing operation owned), and throws the builder error.
    [[noreturn]] static void ThrowError(CWVPMarkupObject* release, LPCWSTR format, LPCWSTR a1 = nullptr,
                                        LPCWSTR a2 = nullptr, LPCWSTR a3 = nullptr);
    [[noreturn]] static void ThrowError(LPCWSTR format, LPCWSTR a1 = nullptr, LPCWSTR a2 = nullptr,
                                        LPCWSTR a3 = nullptr);
    // The same formatting into a buffer of size units.
    static void FormatMessage(LPWSTR out, int size, LPCWSTR format, LPCWSTR a1, LPCWSTR a2, LPCWSTR a3);

    enum
    {
        kSystemBrush = 0,
        kSystemColor = 1,
        kSystemBrushKey = 2,
        kSystemColorKey = 3,
        kSystemColorCount = 31,
    };

  private:
    struct TextBuffer;
    void ParseTokens(CWVPMarkupParser* parser, TextBuffer& text, CWVPMarkupObject*& root);
    void FlushText(TextBuffer& text, BOOL& pendingSpace, CWVPMarkupObject* element, BOOL beforeTag);
    void SetError(LPCWSTR text);
    void Push(CWVPMarkupObject* object);
    CWVPMarkupObject* Pop();
    CWVPMarkupObject* Top() const { return m_nStack ? m_ppStack[m_nStack - 1] : nullptr; }
    void ReleaseStack();

    LPWSTR m_lpszError;
    CWVPMarkupContext* m_pContext;
    CWVPMarkupObject** m_ppSystem; // four tables of kSystemColorCount entries, or null
    CWVPMarkupObject** m_ppStack;
    int m_nStack;
    int m_nStackCapacity;
    CWVPMarkupObject* m_pPendingValue;
};

// The holder that stands on the builder's stack for a property element (Owner.Property).
class CWVPMarkupObjectProperty : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupObjectProperty(CWVPMarkupDependencyProperty* property = nullptr);
    ~CWVPMarkupObjectProperty() override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    CWVPMarkupObject* GetPropertyValue() const { return m_pValue; }
    CWVPMarkupDependencyProperty* GetProperty() const { return m_pProperty; }

  private:
    CWVPMarkupObject* m_pValue;
    CWVPMarkupObject* m_pPending;
    CWVPMarkupDependencyProperty* m_pProperty;
};
