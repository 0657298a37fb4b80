// The program's fixed names, which no language changes and the text table
// does not hold.
#pragma once

constexpr const char* APP_TITLE = "Vantorix Data Acquisition Software";
constexpr const char* APP_CLASS_NAME = "Korvex";
constexpr const char* ABOUT_PRODUCT = "Korvex";
constexpr const char* ABOUT_VERSION = "Version: 1.3";
