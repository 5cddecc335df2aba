// The plain value objects of markup properties: numbers, enumerations, booleans, colours,
// strings, thicknesses and points. They convert from attribute text, compare and hash, and some
// have shared instances that the engine hands out instead of allocating.
#pragma once

#include "uilib/markup/MarkupObject.h"

class CWVPMarkupInt : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupInt(int value = 0) : m_nValue(value) {}
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    int GetValue() const { return m_nValue; }
    static int ValueOf(const CWVPMarkupObject* value, int fallback);

  private:
    int m_nValue;
};

class CWVPMarkupDouble : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupDouble(double value = 0.0) : m_dValue(value) {}
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    double GetValue() const { return m_dValue; }

  private:
    double m_dValue;
};

class CWVPMarkupEnum : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupEnum(int value = 0) : m_nValue(value) {}
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    int GetValue() const { return m_nValue; }
    // Values 0 to 7 are shared objects; every call adds a reference for the caller.
    static CWVPMarkupEnum* CreateValue(int value);
    static int ValueOf(const CWVPMarkupObject* value, int fallback);

  private:
    int m_nValue;
};

class CWVPMarkupBool : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupBool(BOOL value = FALSE) : m_bValue(value ? 1 : 0) {}
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    int GetHashCode() const override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    BOOL GetValue() const { return m_bValue; }
    static CWVPMarkupBool* CreateTrueValue();
    static CWVPMarkupBool* CreateFalseValue();
    static BOOL ValueOf(const CWVPMarkupObject* value, BOOL fallback);

  private:
    BOOL m_bValue;
};

class CWVPMarkupColor : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    explicit CWVPMarkupColor(COLORREF value = 0) : m_clrValue(value) {}
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    void SetContentObject(CWVPMarkupBuilder* builder, CWVPMarkupObject* content) override;
    COLORREF GetValue() const { return m_clrValue; }
    // "#rrggbb", "#aarrggbb" (alpha dropped) or a colour name.
    static BOOL ParseColor(LPCWSTR text, COLORREF* color);

  private:
    COLORREF m_clrValue;
};

class CWVPMarkupString : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    // length -1 takes the whole terminated text; a null text gives the empty string.
    explicit CWVPMarkupString(LPCWSTR text = nullptr, int length = -1);
    ~CWVPMarkupString() override;
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    int GetHashCode() const override;
    LPCWSTR GetText() const { return m_lpszText; }
    int GetLength() const { return m_nLength; }
    // The shared empty, " " and "\n" strings for those texts, a new string otherwise.
    static CWVPMarkupString* CreateValue(LPCWSTR text, int length = -1);

  private:
    LPWSTR m_lpszText;
    int m_nLength;
};

class CWVPMarkupThickness : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupThickness(int left = 0, int top = 0, int right = 0, int bottom = 0)
        : m_nLeft(left), m_nTop(top), m_nRight(right), m_nBottom(bottom)
    {
    }
    BOOL IsEqual(const CWVPMarkupObject* other) const override;
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;
    static CWVPMarkupThickness* GetZero();
    static RECT DeflateRect(RECT rect, const CWVPMarkupThickness* thickness);

    int m_nLeft, m_nTop, m_nRight, m_nBottom;
};

class CWVPMarkupPoint : public CWVPMarkupObject
{
    DECLARE_MARKUP_TYPE()
  public:
    CWVPMarkupPoint(double x = 0.0, double y = 0.0) : m_dX(x), m_dY(y) {}
    CWVPMarkupObject* ConvertFrom(CWVPMarkupObject* source) override;

    double m_dX, m_dY;
};

// Releases the shared value objects (exit sequence).
void MarkupReleaseSharedValues(void*);
