// The program's own result codes, beside the system's error numbers and the
// common dialogs' error codes that operations return as they are.
#pragma once

// The open dialog was cancelled.
constexpr int ERR_OPEN_CANCELLED = 30002;
// The configuration file was read or written short.
constexpr int ERR_CONFIG_SIZE = 30003;
// An export's header line or value line was written short.
constexpr int ERR_EXPORT_HEADER = 30004;
constexpr int ERR_EXPORT_VALUE = 30005;
// A data file that was refused after its own message was shown: the caller
// reports nothing more, and the data on display stays exactly as it was.
constexpr int ERR_DATA_FILE_REFUSED = 30006;
// What a read or write found wrong with a data file itself: the header or the
// records were read or written short, or the file holds no header and records
// a device could have made.
constexpr int ERR_DATA_HEADER_FAULT = 30007;
constexpr int ERR_DATA_RECORDS_FAULT = 30008;
// A step the printing system refused without saying why.
constexpr int ERR_PRINT_REFUSED = 30010;
