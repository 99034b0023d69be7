#pragma once
// A document read through once before it joins the list, the way every road reads it:
// a file that holds printer commands is refused when it is added, not only at Print.
// Windows build only.
#include <functional>
#include <string>

#include "files/file_reason.h"

// PrinterCommands when the file holds the PJL universal exit; Sent otherwise, also when it
// cannot be read through now or fnStop ends the reading (every road reads it again).
FileReason ScanDocumentForPrinterCommands(const std::wstring& strPath, const std::function<bool()>& fnStop);
