#include "job/settings/param_mngr.h"

#include <new>

#include "common/debug_log.h"
#include "common/user_language.h"

namespace {
CParamMngr* g_pParamMngr = nullptr;

bool InRange(int nValue, int nLow, int nHigh) { return nValue >= nLow && nValue <= nHigh; }

int Store(int32_t& field, int nValue, int nLow, int nHigh)
{
    if (!InRange(nValue, nLow, nHigh))
        return 0;
    field = nValue;
    return 1;
}

template <typename Row, size_t N>
const Row& RowAt(const std::array<Row, N>& table, int nIndex)
{
    // The fields are written unchecked by the pages' data exchange; never index past the table.
    return table[InRange(nIndex, 0, static_cast<int>(N) - 1) ? nIndex : 0];
}
}  // namespace

CParamMngr::CParamMngr()
    : m_PaperSizes(BuildPaperSizeTable(GetUserPrimaryLanguage() == kLangEnglish)),
      m_PaperTypes(BuildPaperTypeTable())
{
}

CParamMngr* CreateParamMngr()
{
    if (g_pParamMngr) {
        DebugLog(L"CParamMngr::create: instnace already exists!");
        return g_pParamMngr;
    }
    g_pParamMngr = new (std::nothrow) CParamMngr();
    return g_pParamMngr;
}

CParamMngr* GetParamMngr() { return g_pParamMngr; }

void DestroyParamMngr()
{
    delete g_pParamMngr;
    g_pParamMngr = nullptr;
}

int CParamMngr::SetPrintRange(int nValue) { return Store(m_JobSettings.m_nPrintRange, nValue, 0, 1); }
int CParamMngr::SetFromPage(int nValue) { return Store(m_JobSettings.m_nFromPage, nValue, 0, 9999); }
int CParamMngr::SetToPage(int nValue) { return Store(m_JobSettings.m_nToPage, nValue, 0, 9999); }
int CParamMngr::SetCopies(int nValue) { return Store(m_JobSettings.m_nCopies, nValue, 1, 99); }
int CParamMngr::SetOrientation(int nValue) { return Store(m_JobSettings.m_nOrientation, nValue, 0, 1); }
int CParamMngr::SetPaperSize(int nValue) { return Store(m_JobSettings.m_nPaperSize, nValue, 0, kPaperSizeCount - 1); }
int CParamMngr::SetPaperType(int nValue) { return Store(m_JobSettings.m_nPaperType, nValue, 0, kPaperTypeCount - 1); }
int CParamMngr::SetDuplex(int nValue) { return Store(m_JobSettings.m_nDuplex, nValue, 0, 2); }
int CParamMngr::SetColorMode(int nValue) { return Store(m_JobSettings.m_nColorMode, nValue, 0, 1); }

int CParamMngr::SetPageRange(int nFrom, int nTo)
{
    if (!InRange(nFrom, 0, 9999) || !InRange(nTo, 0, 9999))
        return 0;
    m_JobSettings.m_nFromPage = nFrom;
    m_JobSettings.m_nToPage = nTo;
    return 1;
}

int CParamMngr::SetFitToPage(int nValue)
{
    m_JobSettings.m_bFitToPage = nValue;
    return 1;
}

int CParamMngr::SetZoom(int nValue)
{
    DebugLog(L"CParamMngr::SetZoom : %d", nValue);
    if (!InRange(nValue, 50, 200)) {
        DebugLog(L"CParamMngr::SetZoom : return FALSE");
        return 0;
    }
    m_JobSettings.m_nZoom = nValue;
    DebugLog(L"CParamMngr::SetZoom : return TRUE");
    return 1;
}

void CParamMngr::SetAdvancedDefaults()
{
    SetColorMode(0);
    SetDuplex(0);
    SetZoom(100);
    SetFitToPage(0);
    SetPaperSize(0);
    SetPaperType(0);
    ApplyAdvancedOptions(m_Policy.defaults);
}

void CParamMngr::SetBasicDefaults()
{
    SetCopies(1);
    SetOrientation(0);
    SetPrintRange(0);
    SetPageRange(1, 1);
    ApplyBasicOptions(m_Policy.defaults);
}

const PaperSizeInfo& CParamMngr::CurrentSize() const { return RowAt(m_PaperSizes, m_JobSettings.m_nPaperSize); }
const PaperTypeInfo& CParamMngr::CurrentType() const { return RowAt(m_PaperTypes, m_JobSettings.m_nPaperType); }

std::wstring CParamMngr::GetPaperSizeName() const { return CurrentSize().strName; }
std::wstring CParamMngr::GetPaperSizePJL() const { return CurrentSize().strPJL; }
short CParamMngr::GetPaperWidthMM() const { return CurrentSize().nWidthMM; }
short CParamMngr::GetPaperHeightMM() const { return CurrentSize().nHeightMM; }
double CParamMngr::GetPaperWidthInch() const { return CurrentSize().dWidthInch; }
double CParamMngr::GetPaperHeightInch() const { return CurrentSize().dHeightInch; }
std::wstring CParamMngr::GetPaperTypeName() const { return CurrentType().strName; }
std::wstring CParamMngr::GetPaperTypePJL() const { return CurrentType().strPJL; }
