// Ids of the icon, the dialog templates and their controls, shared by
// korvex.rc and the code.
#pragma once

#define IDI_APP 106
// The data files' type name; the setup refers to it by number.
#define IDS_DATA_FILE_TYPE 301

#define IDD_ABOUT 101
#define IDD_PROGRESS 111
#define IDD_ACQUISITION 201
#define IDD_SET_TIME 205

#define IDC_PROGRESS_BAR 1000
#define IDC_FIRST_SPAN 1001
#define IDC_INTERVAL 1016
#define IDC_PROGRESS_ABORT 1017
// The set-time dialog's edits are 1018, 1020, ... 1028 (day, month, year,
// hour, minute, second), each followed by its up-down control.
#define IDC_FIRST_TIME_FIELD 1018
#define IDC_SET_START 1030
#define IDC_SET_END 1031
#define IDC_SPAN_GROUP 1031
#define IDC_INTERVAL_LABEL 1032
#define IDC_PROGRESS_TEXT 1033
#define IDC_DATE_LABEL 1034
#define IDC_TIME_LABEL 1035
#define IDC_ABOUT_PICTURE 1040
#define IDC_ABOUT_PRODUCT 1041
#define IDC_ABOUT_VERSION 1042
