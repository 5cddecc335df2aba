#include "platform/mfc/DataExchange.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

#include "platform/mfc/WinApp.h"

namespace
{
const wchar_t kEnterInteger[] = L"Please enter an integer.";
const wchar_t kEnterNumber[] = L"Please enter a number.";

bool IsSpace(wchar_t ch)
{
    return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n';
}

void ReportAndFail(CDataExchange* dx, LPCWSTR prompt)
{
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
    dx->Fail();
}

template <class T>
void TextAsInteger(CDataExchange* dx, int id, T& value, LONGLONG minValue, LONGLONG maxValue)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
    {
        wchar_t text[64] = {0};
        ::GetWindowTextW(control, text, 64);
        LONGLONG parsed = 0;
        if (!AfxParseInteger(text, parsed) || parsed < minValue || parsed > maxValue)
            ReportAndFail(dx, kEnterInteger);
        value = (T)parsed;
    }
    else
    {
        // Through 64 bits: wsprintfW's "%ld" would cut a 64-bit long to 32.
        char narrow[32];
        if (minValue < 0)
            snprintf(narrow, sizeof(narrow), "%lld", (long long)value);
        else
            snprintf(narrow, sizeof(narrow), "%llu", (unsigned long long)value);
        wchar_t text[32];
        ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, text, 32);
        ::SetWindowTextW(control, text);
    }
}

template <class T>
void TextAsFloat(CDataExchange* dx, int id, T& value, int digits)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
    {
        wchar_t text[128] = {0};
        ::GetWindowTextW(control, text, 128);
        double parsed = 0;
        if (!AfxParseDouble(text, parsed))
            ReportAndFail(dx, kEnterNumber);
        value = (T)parsed;
    }
    else
    {
        char narrow[64];
        snprintf(narrow, sizeof(narrow), "%.*g", digits, (double)value);
        wchar_t text[64];
        ::MultiByteToWideChar(CP_ACP, 0, narrow, -1, text, 64);
        ::SetWindowTextW(control, text);
    }
}

void RangeFailure(CDataExchange* dx, LPCWSTR low, LPCWSTR high, bool integer)
{
    if (!dx->m_bSaveAndValidate)
        return; // filling the controls is never refused
    CString prompt;
    prompt.Format(integer ? L"Enter an integer between %s and %s." : L"Enter a number between %s and %s.", low, high);
    ReportAndFail(dx, prompt);
}
}

BOOL AFXAPI AfxParseInteger(LPCWSTR text, LONGLONG& value)
{
    if (!text)
        return FALSE;
    while (IsSpace(*text))
        ++text;
    bool negative = false;
    if (*text == L'-' || *text == L'+')
        negative = *text++ == L'-';
    if (*text < L'0' || *text > L'9')
        return FALSE;
    unsigned long long magnitude = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text)
    {
        magnitude = magnitude * 10 + (unsigned)(*text - L'0');
        if (magnitude > (unsigned long long)LLONG_MAX + 1)
            return FALSE;
    }
    while (IsSpace(*text))
        ++text;
    if (*text)
        return FALSE;
    if (!negative && magnitude > (unsigned long long)LLONG_MAX)
        return FALSE;
    value = negative ? (LONGLONG)(0 - magnitude) : (LONGLONG)magnitude;
    return TRUE;
}

BOOL AFXAPI AfxParseDouble(LPCWSTR text, double& value)
{
    if (!text)
        return FALSE;
    // Numbers are plain ASCII: narrow the text and let the C library read it.
    char narrow[128];
    int i = 0;
    for (; text[i] && i < 127; ++i)
    {
        if (text[i] > 0x7F)
            return FALSE;
        narrow[i] = (char)text[i];
    }
    if (text[i])
        return FALSE;
    narrow[i] = 0;
    char* end = nullptr;
    double parsed = strtod(narrow, &end);
    if (end == narrow)
        return FALSE;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end)
        return FALSE;
    value = parsed;
    return TRUE;
}

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog), m_idLastControl(nullptr), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), id);
    if (!control)
    {
        ::OutputDebugStringA("Reelwright: data exchange with a missing control\n");
        AfxThrowNotSupportedException();
    }
    m_idLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl)
    {
        ::SetFocus(m_idLastControl);
        if (m_bEditLastControl)
            ::SendMessageW(m_idLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try
    {
        DoDataExchange(&dx);
        return TRUE;
    }
    catch (CUserException* e)
    {
        // The user has been told; the exchange just stops.
        e->Delete();
    }
    catch (CException* e)
    {
        ::OutputDebugStringA("Reelwright: data exchange failed\n");
        e->Delete();
    }
    return FALSE;
}

void AFXAPI DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(hWnd))
        AfxThrowNotSupportedException();
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
    {
        int length = ::GetWindowTextLengthW(control);
        ::GetWindowTextW(control, value.GetBufferSetLength(length), length + 1);
        value.ReleaseBuffer();
    }
    else
    {
        ::SetWindowTextW(control, value);
    }
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, int& value)
{
    TextAsInteger(dx, id, value, INT_MIN, INT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    TextAsInteger(dx, id, value, 0, UINT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, long& value)
{
    TextAsInteger(dx, id, value, LONG_MIN, LONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, short& value)
{
    TextAsInteger(dx, id, value, SHRT_MIN, SHRT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, BYTE& value)
{
    TextAsInteger(dx, id, value, 0, 255);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, double& value)
{
    TextAsFloat(dx, id, value, 15);
}

void AFXAPI DDX_Text(CDataExchange* dx, int id, float& value)
{
    TextAsFloat(dx, id, value, 6);
}

void AFXAPI DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = (int)::SendMessageW(control, BM_GETCHECK, 0, 0);
    else
        ::SendMessageW(control, BM_SETCHECK, (WPARAM)((value < 0 || value > 2) ? 0 : value), 0);
}

void AFXAPI DDX_Radio(CDataExchange* dx, int id, int& value)
{
    // The control starts a group of radio buttons; value is the index of the checked one (-1 none).
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    do
    {
        if (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        {
            if (dx->m_bSaveAndValidate)
            {
                if (::SendMessageW(control, BM_GETCHECK, 0, 0))
                    value = index;
            }
            else
            {
                ::SendMessageW(control, BM_SETCHECK, index == value, 0);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(::GetWindowLongW(control, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = (int)::SendMessageW(control, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(control, CB_SETCURSEL, (WPARAM)index, 0);
}

static void ComboString(CDataExchange* dx, int id, CString& value, UINT findMessage)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
    {
        int length = ::GetWindowTextLengthW(control);
        if (length > 0)
        {
            ::GetWindowTextW(control, value.GetBufferSetLength(length), length + 1);
            value.ReleaseBuffer();
        }
        else
        {
            // A drop-down list has no text of its own: take the selected item's.
            int selected = (int)::SendMessageW(control, CB_GETCURSEL, 0, 0);
            value.Empty();
            if (selected >= 0)
            {
                int itemLength = (int)::SendMessageW(control, CB_GETLBTEXTLEN, (WPARAM)selected, 0);
                ::SendMessageW(control, CB_GETLBTEXT, (WPARAM)selected,
                               (LPARAM)value.GetBufferSetLength(itemLength));
                value.ReleaseBuffer();
            }
        }
    }
    else
    {
        int found = (int)::SendMessageW(control, findMessage, (WPARAM)-1, (LPARAM)(LPCWSTR)value);
        if (found >= 0)
            ::SendMessageW(control, CB_SETCURSEL, (WPARAM)found, 0);
        else
            ::SetWindowTextW(control, value);
    }
}

void AFXAPI DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    ComboString(dx, id, value, CB_FINDSTRING);
}

void AFXAPI DDX_CBStringExact(CDataExchange* dx, int id, CString& value)
{
    ComboString(dx, id, value, CB_FINDSTRINGEXACT);
}

void AFXAPI DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = (int)::SendMessageW(control, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageW(control, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_LBString(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
    {
        int selected = (int)::SendMessageW(control, LB_GETCURSEL, 0, 0);
        value.Empty();
        if (selected >= 0)
        {
            int length = (int)::SendMessageW(control, LB_GETTEXTLEN, (WPARAM)selected, 0);
            ::SendMessageW(control, LB_GETTEXT, (WPARAM)selected, (LPARAM)value.GetBufferSetLength(length));
            value.ReleaseBuffer();
        }
    }
    else
    {
        int found = (int)::SendMessageW(control, LB_FINDSTRING, (WPARAM)-1, (LPARAM)(LPCWSTR)value);
        ::SendMessageW(control, LB_SETCURSEL, (WPARAM)found, 0);
    }
}

void AFXAPI DDX_Slider(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = (int)::SendMessageW(control, TBM_GETPOS, 0, 0);
    else
        ::SendMessageW(control, TBM_SETPOS, TRUE, value);
}

namespace
{
// One range check for every integer width; the bounds are printed through 64 bits, since
// wsprintfW's "%ld" reads only 32 of a 64-bit long.
void IntegerRangeCheck(CDataExchange* dx, bool inRange, LONGLONG minValue, LONGLONG maxValue)
{
    if (inRange)
        return;
    CString low, high;
    low.Format(L"%I64d", minValue);
    high.Format(L"%I64d", maxValue);
    RangeFailure(dx, low, high, true);
}
}

void AFXAPI DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    IntegerRangeCheck(dx, value >= minValue && value <= maxValue, minValue, maxValue);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue)
{
    IntegerRangeCheck(dx, value >= minValue && value <= maxValue, minValue, maxValue);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue)
{
    IntegerRangeCheck(dx, value >= minValue && value <= maxValue, minValue, maxValue);
}

void AFXAPI DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue)
{
    DDV_MinMaxUInt(dx, value, minValue, maxValue);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minValue, double maxValue)
{
    if (value >= minValue && value <= maxValue)
        return;
    char narrow[2][64];
    snprintf(narrow[0], sizeof(narrow[0]), "%g", minValue);
    snprintf(narrow[1], sizeof(narrow[1]), "%g", maxValue);
    wchar_t low[64], high[64];
    ::MultiByteToWideChar(CP_ACP, 0, narrow[0], -1, low, 64);
    ::MultiByteToWideChar(CP_ACP, 0, narrow[1], -1, high, 64);
    RangeFailure(dx, low, high, false);
}

void AFXAPI DDV_MinMaxFloat(CDataExchange* dx, const float& value, float minValue, float maxValue)
{
    double v = value;
    DDV_MinMaxDouble(dx, v, minValue, maxValue);
}

void AFXAPI DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars)
{
    if (!dx->m_bSaveAndValidate)
    {
        // Filling the control: limit what the user can type.
        if (dx->m_idLastControl && dx->m_bEditLastControl)
            ::SendMessageW(dx->m_idLastControl, EM_LIMITTEXT, (WPARAM)maxChars, 0);
        return;
    }
    if (value.GetLength() > maxChars)
    {
        CString prompt;
        prompt.Format(L"Enter no more than %d characters.", maxChars);
        ReportAndFail(dx, prompt);
    }
}
