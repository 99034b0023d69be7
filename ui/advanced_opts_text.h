#pragma once
// Texts of the Advanced page that need no window: the items of the two paper lists
// and the label whose ampersands must show as characters.
#include <string>
#include <vector>

#include "job/settings/param_mngr.h"

// The paper-size list, one item per table row in table order: row 0 its name alone,
// the others with their dimensions in inches (English user language) or millimetres.
std::vector<std::wstring> PaperSizeListItems(CParamMngr& mngr, int nPrimaryLanguage);
std::vector<std::wstring> PaperTypeListItems(CParamMngr& mngr);

// Every "&" doubled, so a label shows it instead of underlining the next letter.
std::wstring DoubleAmpersands(const std::wstring& strText);
