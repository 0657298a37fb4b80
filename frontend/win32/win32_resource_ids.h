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
#define IDD_QUESTION 207

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
#define IDC_QUESTION_ICON 1050
#define IDC_QUESTION_TEXT 1051
// The question's three buttons are 1052, 1053, 1054, in answer order.
#define IDC_FIRST_ANSWER 1052

// The Analysis window (modeless)
#define IDD_ANALYSIS 209
#define IDC_ANALYSIS_SCOPE_LABEL 1060
#define IDC_ANALYSIS_FIRST_SCOPE 1061 // zoom, main, all
#define IDC_ANALYSIS_DEMAND_LABEL 1064
#define IDC_ANALYSIS_DEMAND 1065
#define IDC_ANALYSIS_THRESHOLDS_LABEL 1066
#define IDC_ANALYSIS_THRESHOLDS 1067
#define IDC_ANALYSIS_RATED_LABEL 1068
#define IDC_ANALYSIS_RATED 1069
#define IDC_ANALYSIS_FIGURES 1070
#define IDC_ANALYSIS_LIST_LABEL 1071
#define IDC_ANALYSIS_LIST 1072
#define IDC_ANALYSIS_COPY 1073
#define IDC_ANALYSIS_REPORT 1074
