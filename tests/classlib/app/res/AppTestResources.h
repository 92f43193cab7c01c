// Resource ids of the application-layer tests.
#pragma once

#define IDD_FORM 201          // a child form
#define IDD_POPUP_FORM 202    // a popup template, which no form view may take
#define IDC_FORM_PATH 1003
#define IDC_FORM_COUNT 1004
#define IDC_FORM_BROWSE 1005
#define IDC_FORM_AUTO 1013

#define IDR_TOOLBAR 301       // tool bar resource with its bitmap
#define IDR_BAD_TOOLBAR 302   // a tool bar resource of an unknown version
#define IDR_NO_BITMAP 303     // a tool bar resource without a bitmap
#define ID_TOOL_FIRST 40101
#define ID_TOOL_SECOND 40102
#define ID_TOOL_THIRD 40103
