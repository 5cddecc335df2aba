#pragma once
// Resource ids of the command bars' own resources (uilib/commandbars/resources/commandbars.rc).

// The horizontal resize cursor of controls resized in customize mode.
#define IDC_WVP_RESIZE_HORZ 9972
