#include "i18n/lang_globals.h"

wchar_t g_szHelpFileName[kTextChars] = {};
int g_nCharSet = kDefaultCharSet;
