#pragma once
// The system's own word for a failure: the last error of this thread (GetLastError, or
// errno natively) and its text, on one line, to be shown beside the file it concerns.
#include <string>

unsigned long LastSystemError();
// True for the errors that say the file or its folder is not there.
bool IsNotFoundError(unsigned long nError);
// The system's message for the error, without its line end; empty when it has none.
std::wstring SystemErrorText(unsigned long nError);
