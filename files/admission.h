#pragma once
// The gate every candidate file passes: an existing regular file whose extension
// belongs to a type the current printer accepts (nSupportedTypes, a type-bit mask;
// 0, -1 and -2 accept nothing).
#include <string>

#include "files/file_reason.h"

// The extension test alone: the whole extension must be one entry of the admission
// list, so "x" (no extension) and "x.jp" (a part of ".jpg/") are refused.
bool IsExtensionAdmitted(const std::wstring& strFileExt, int nSupportedTypes);

// File status (must exist, be a regular file, hold no wildcard), the extension test and
// the first bytes (at most 1,024 are read), which must carry the signature of its type.
// A refused file's reason goes to pReason when given.
bool ValidatePathname(const std::wstring& strPath, int nSupportedTypes, FileReason* pReason = nullptr);

// The message a refused dropped file shows: 4 busy or off, 3 no printer, else 1.
int DropRefusalMessage(int nSupportedTypes);
