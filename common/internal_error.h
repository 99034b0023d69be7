#pragma once
// What a worker logs when it catches an exception: where, and what was thrown.

// Writes "<where> / internal error : <cause>" for the exception being handled; called
// inside a catch block (outside one, the cause is "unknown").
void LogInternalError(const wchar_t* pszWhere);
