// Ids of the icon, the dialog templates and their controls, shared by
// korvex.rc and the code.
#pragma once

#define IDI_APP 106

#define IDD_ABOUT 101
#define IDD_PROGRESS 111
#define IDD_ACQUISITION 201

#define IDC_PROGRESS_BAR 1000
#define IDC_FIRST_SPAN 1001
#define IDC_INTERVAL 1016
#define IDC_PROGRESS_ABORT 1017
#define IDC_SPAN_GROUP 1031
#define IDC_INTERVAL_LABEL 1032
#define IDC_PROGRESS_TEXT 1033
#define IDC_ABOUT_PICTURE 1040
#define IDC_ABOUT_PRODUCT 1041
#define IDC_ABOUT_VERSION 1042
