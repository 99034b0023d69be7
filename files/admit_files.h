#pragma once
// Candidate files checked off the window's thread: a shortcut stands for its target, the
// admission rule reads the first bytes and the shell finds the icon, and any of these may
// wait on a slow or stalled share. Windows build only.
#include <string>
#include <vector>

#include "files/file_reason.h"

struct AdmittedFile {
    std::wstring strPath;  // the shortcut's target where it was one
    int nIcon = 0;         // in the system's small image list
};

struct RefusedFile {
    std::wstring strPath;
    FileReason reason;
    size_t nCandidate = 0;  // its place among the paths checked
};

struct AdmissionResult {
    std::vector<AdmittedFile> arrAdmitted;  // in the order given
    std::vector<RefusedFile> arrRefused;
};

AdmissionResult AdmitCandidateFiles(const std::vector<std::wstring>& arrPaths, int nSupportedTypes);

// The listed files that the types of another printer no longer admit, with the reasons.
std::vector<RefusedFile> RefusedListedFiles(const std::vector<std::wstring>& arrListed, int nSupportedTypes);
