// The ids and the state that the main window shares with the subsystems.
#pragma once
#include <cstdint>

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

// Controls, timers, posted commands
constexpr int IDC_SPAN_COMBO = 100;
constexpr int IDC_SCROLLBAR = 200;
constexpr int IDT_PUMP = 50;
constexpr int IDT_PROGRESS = 100;
constexpr unsigned PUMP_PERIOD_MS = 50;
constexpr unsigned PROGRESS_PERIOD_MS = 100;
constexpr int CMD_TRANSFER_ABORT = 10000;

// Combo box notifications
constexpr int CBN_DROPDOWN = 7;
constexpr int CBN_SELENDOK = 9;

// Result codes of the system's own
constexpr int ERR_OPEN_CANCELLED = 30002;
constexpr int ERR_CONFIG_SIZE = 30003;
constexpr int ERR_EXPORT_HEADER = 30004;
constexpr int ERR_EXPORT_VALUE = 30005;

constexpr uint16_t PORT_FAILED_MARK = 10;

// Fixed texts that are not in the text table
constexpr const char* APP_TITLE = "Vantorix Data Acquisition Software";
constexpr const char* APP_CLASS_NAME = "Korvex";
constexpr const char* ABOUT_PRODUCT = "Korvex";
constexpr const char* ABOUT_VERSION = "Version: 1.3";

// The main window's client area and colour
constexpr int CLIENT_WIDTH = 800;
constexpr int CLIENT_HEIGHT = 577; // 600 less one dialog frame and the menu bar
constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}
constexpr uint32_t WINDOW_COLOUR = rgb(195, 180, 160);
