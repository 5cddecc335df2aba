// CDataExchange: one exchange between a dialog's controls and its members (DoDataExchange),
// with the DDX_ transfer and DDV_ validation functions. A failed validation tells the user,
// puts the focus on the control and ends the exchange (UpdateData answers FALSE).
#pragma once

#include "platform/mfc/Wnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with validation
    CWnd* m_pDlgWnd;
    HWND m_idLastControl;    // the control last prepared (the one a failure points at)
    BOOL m_bEditLastControl;

    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Puts the focus on the last control and ends the exchange.
    [[noreturn]] void Fail();
};

void AFXAPI DDX_Control(CDataExchange* dx, int id, CWnd& control);
void AFXAPI DDX_Text(CDataExchange* dx, int id, CString& value);
void AFXAPI DDX_Text(CDataExchange* dx, int id, int& value);
void AFXAPI DDX_Text(CDataExchange* dx, int id, UINT& value);
void AFXAPI DDX_Text(CDataExchange* dx, int id, long& value);
// DWORD is UINT on this platform: DDX_Text(UINT&) serves both.
void AFXAPI DDX_Text(CDataExchange* dx, int id, short& value);
void AFXAPI DDX_Text(CDataExchange* dx, int id, BYTE& value);
void AFXAPI DDX_Text(CDataExchange* dx, int id, double& value);
void AFXAPI DDX_Text(CDataExchange* dx, int id, float& value);
void AFXAPI DDX_Check(CDataExchange* dx, int id, int& value);
void AFXAPI DDX_Radio(CDataExchange* dx, int id, int& value);
void AFXAPI DDX_CBIndex(CDataExchange* dx, int id, int& index);
void AFXAPI DDX_CBString(CDataExchange* dx, int id, CString& value);
void AFXAPI DDX_CBStringExact(CDataExchange* dx, int id, CString& value);
void AFXAPI DDX_LBIndex(CDataExchange* dx, int id, int& index);
void AFXAPI DDX_LBString(CDataExchange* dx, int id, CString& value);
void AFXAPI DDX_Slider(CDataExchange* dx, int id, int& value);

void AFXAPI DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void AFXAPI DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT minValue, UINT maxValue);
void AFXAPI DDV_MinMaxLong(CDataExchange* dx, long value, long minValue, long maxValue);
void AFXAPI DDV_MinMaxDWord(CDataExchange* dx, DWORD value, DWORD minValue, DWORD maxValue);
void AFXAPI DDV_MinMaxDouble(CDataExchange* dx, const double& value, double minValue, double maxValue);
void AFXAPI DDV_MinMaxFloat(CDataExchange* dx, const float& value, float minValue, float maxValue);
void AFXAPI DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

// Parses a whole text as a decimal integer (spaces around allowed); false on anything else.
BOOL AFXAPI AfxParseInteger(LPCWSTR text, LONGLONG& value);
// Parses a whole text as a floating-point number; false on anything else.
BOOL AFXAPI AfxParseDouble(LPCWSTR text, double& value);
