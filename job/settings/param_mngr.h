#pragma once
// CParamMngr: the one process-wide holder of the job options and the paper tables.
#include <string>

#include "files/command_line_options.h"
#include "job/settings/job_policy.h"
#include "job/settings/job_settings.h"
#include "job/settings/paper_tables.h"

class CParamMngr {
public:
    JobSettings m_JobSettings;  // read directly by the pages, the preview and the PJL header

    // Checked setters: 1 when stored, 0 (field unchanged) when out of range.
    int SetPrintRange(int nValue);
    int SetFromPage(int nValue);
    int SetToPage(int nValue);
    int SetPageRange(int nFrom, int nTo);
    int SetCopies(int nValue);
    int SetOrientation(int nValue);
    int SetPaperSize(int nValue);
    int SetPaperType(int nValue);
    int SetDuplex(int nValue);
    int SetColorMode(int nValue);
    int SetFitToPage(int nValue);
    int SetZoom(int nValue);

    // The defaults of the Advanced page's options: colour auto, no duplex, zoom 100
    // without fit, "Original" paper of the "Default" type; the policy's defaults over them.
    void SetAdvancedDefaults();
    // The defaults of the Basic page's options: 1 copy, portrait, all pages, From and To 1;
    // the policy's copies over them.
    void SetBasicDefaults();

    // The administrator's defaults and locks; set before the defaults are applied.
    JobPolicy m_Policy;
    // Puts every locked option back to its locked value; true when one had another.
    bool EnforceLocks();

    // The job options of the command line. The sheet's construction and each page when it
    // starts put them over the defaults; the pages' Default buttons do not.
    JobOptions m_CommandLineOptions;
    // Copies and page range (the Basic page's part) of a set of options; unset ones stay.
    void ApplyBasicOptions(const JobOptions& options);
    // Paper size and type, double-sided, colour, zoom and fit (the Advanced page's part);
    // locked options keep their locked value.
    void ApplyAdvancedOptions(const JobOptions& options);

    // The current paper size (row m_nPaperSize) and paper type (row m_nPaperType).
    std::wstring GetPaperSizeName() const;
    std::wstring GetPaperSizePJL() const;
    short GetPaperWidthMM() const;
    short GetPaperHeightMM() const;
    double GetPaperWidthInch() const;
    double GetPaperHeightInch() const;
    std::wstring GetPaperTypeName() const;
    std::wstring GetPaperTypePJL() const;

    const PaperSizeTable& PaperSizes() const { return m_PaperSizes; }
    const PaperTypeTable& PaperTypes() const { return m_PaperTypes; }

private:
    friend CParamMngr* CreateParamMngr();
    CParamMngr();
    const PaperSizeInfo& CurrentSize() const;
    const PaperTypeInfo& CurrentType() const;

    PaperSizeTable m_PaperSizes;
    PaperTypeTable m_PaperTypes;
};

// Creates the object (or returns the existing one); needs the UI string file resolved.
CParamMngr* CreateParamMngr();
CParamMngr* GetParamMngr();
void DestroyParamMngr();
