#include "common/internal_error.h"

#include <exception>
#include <string>

#include "common/ansi_text.h"
#include "common/debug_log.h"

void LogInternalError(const wchar_t* pszWhere)
{
    std::string strCause = "unknown";
    if (const std::exception_ptr pCaught = std::current_exception()) {
        try {
            std::rethrow_exception(pCaught);
        } catch (const std::exception& e) {
            strCause = e.what();
        } catch (...) {
        }
    }
    DebugLog(L"%s / internal error : %s", pszWhere, FromAnsi(strCause).c_str());
}
