// Where recorder.exe writes the URLs it was started with: the file named by
// the environment variable below (a test sets it before starting the program,
// whose shell passes it on), or else recorder.log beside recorder.exe. One
// line per start, ending in CR LF.
#pragma once

constexpr const char kRecorderLogVariable[] = "TG_RECORDER_LOG";
constexpr const wchar_t kRecorderLogVariableW[] = L"TG_RECORDER_LOG";
constexpr const wchar_t kRecorderDefaultLogName[] = L"recorder.log";
