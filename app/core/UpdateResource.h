// Templates and control ids of the update dialogs (shared by the code and the resource script).
#pragma once

#define IDD_UPDATE 144
#define IDD_UPDATE_TIP 160

#define IDC_UPDATE_STATE 1309
#define IDC_UPDATE_PROGRESS 1114
#define IDC_UPDATE_CHECK 1021
#define IDC_UPDATE_ABORT 1118
#define IDC_UPDATE_TIP_TEXT 1235
