#pragma once
// The exchange's notes for the debug log. The IPP client stands beside the log, not above
// it: the program hands it the writer at start-up, and without one the notes go nowhere.
#include <string>

namespace ipp {

using LogWriter = void (*)(const std::wstring& strLine);
void SetLogWriter(LogWriter writer);
void Log(const std::wstring& strLine);

}  // namespace ipp
