#pragma once
// Process-wide results of the language manager in Lumeo (the UI file path,
// g_szUIFileName, lives with the text lookup in common/ui_text.h).
#include "common/ui_text.h"
#include "i18n/language_suffix.h"

extern wchar_t g_szHelpFileName[kTextChars];
// GDI character set of the help language, for the splash window's font; 1 until resolved.
extern int g_nCharSet;
