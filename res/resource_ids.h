// The ids of the menu commands, the controls, the timers and the commands the
// program posts to itself, shared by the menu table, the routing and the front
// ends.
#pragma once

// Menu commands
constexpr int IDM_ABOUT = 103;
constexpr int IDM_EXIT = 105;
constexpr int IDM_COM1 = 2001;
constexpr int IDM_COM8 = 2008;
constexpr int IDM_SAVE = 2009;
constexpr int IDM_OPEN = 2010;
constexpr int IDM_EXPORT_ZOOM = 2013;
constexpr int IDM_EXPORT_MAIN = 2014;
constexpr int IDM_EXPORT_ALL = 2015;
constexpr int IDM_TRANSFER = 2016;
constexpr int IDM_SET_TIME = 2017;
constexpr int IDM_SCREEN_DUMP = 2018;
constexpr int IDM_PRINT = 2019;
constexpr int IDM_LANG_ENGLISH = 2020;
constexpr int IDM_LANG_GERMAN = 2120;
constexpr int IDM_LANG_DANISH = 2220;
constexpr int IDM_AUTO_CONNECT = 2022;
constexpr int IDM_COM_BASE = 2000; // item of COMn is IDM_COM_BASE + n
// The Analysis menu, which the program gained later: ids no other item has.
constexpr int IDM_ANALYSIS_SUMMARY = 2040;
constexpr int IDM_ANALYSIS_REPORT = 2041;

// Resource ids of the three menus: IDR_MENU_BASE + language base.
constexpr int IDR_MENU_BASE = 204;

// Controls
constexpr int IDC_SPAN_COMBO = 100;
constexpr int IDC_SCROLLBAR = 200;

// Timers and their periods
constexpr int IDT_PUMP = 50;
constexpr int IDT_PROGRESS = 100;
constexpr unsigned PUMP_PERIOD_MS = 50;
constexpr unsigned PROGRESS_PERIOD_MS = 100;

// Commands the program posts to itself
constexpr int CMD_TRANSFER_ABORT = 10000;
