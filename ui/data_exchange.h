#pragma once
// Dialog data exchange between controls and int32 fields (Windows build only).
// Save reads a control into its field, load writes the field into the control.
//
// Integer save: the edit's text is read as a signed decimal number and stored AT ONCE.
// Text that is no number (an empty edit too) stores 0, beeps and focuses the edit: the
// exchange fails. With a range, a value outside it calls OnDataValidateError(id) and
// fails, the value staying stored. Exchanges run entry by entry and stop at the first
// failure, so write them as: ok = ok && DDX_...(...).
#include <windows.h>

#include <cstdint>

enum class DdxDirection { Load, Save };

class CWinDataExchange {
public:
    virtual ~CWinDataExchange() = default;

protected:
    // Radio group starting at idFirst: the index of the checked button among the
    // group's radio buttons (up to the next control with WS_GROUP), -1 when none is.
    bool DDX_Radio(HWND hDlg, int idFirst, int32_t& nValue, DdxDirection dir);
    bool DDX_Int(HWND hDlg, int nId, int32_t& nValue, DdxDirection dir);
    bool DDX_IntRange(HWND hDlg, int nId, int32_t& nValue, DdxDirection dir, int32_t nMin, int32_t nMax);
    // Check box: 0 unchecked, 1 checked, 2 indeterminate.
    bool DDX_Check(HWND hDlg, int nId, int32_t& nValue, DdxDirection dir);

    // A value outside its range was saved; the control's page decides the repair.
    virtual void OnDataValidateError(HWND hDlg, int nId) {}

private:
    static void OnDataExchangeError(HWND hDlg, int nId);
};
