// ipp_upload_bench <url> <file>: one file to the printer by the IPP road as a print run sends
// it (SendFilesOverIpp: the printer's attributes, the job, the document streamed), the job
// not followed afterwards. Prints the time taken and the peak working set before and after;
// exit 1 when the file was not sent whole or the printer gave no job.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>

#include "ipp/ipp_sign_in.h"
#include "job/ipp/ipp_print_run.h"

namespace {
unsigned long long PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(argv[2], GetFileExInfoStandard, &data))
        return 2;
    const unsigned long long nBytes = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    ipp::TrustShownCertificates(true);  // a TLS printer's certificate is made anew each run
    IppRunInput input;
    input.strUrl = argv[1];
    input.settings.m_nCopies = 1;
    input.settings.m_nZoom = 100;
    input.arrFiles = {argv[2]};
    input.nWaitSeconds = 0;  // the printer's own time is in neither side
    unsigned long long nDone = 0;
    IppRunHooks hooks;
    hooks.fnFileProgress = [&](unsigned long long n) { nDone = n; };
    const unsigned long long nPeakBefore = PeakWorkingSet();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<IppFileEnd> ends = SendFilesOverIpp(input, nullptr, hooks);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (ends.size() != 1 || ends[0].reason.outcome != FileOutcome::Sent || ends[0].nJobId <= 0 || nDone != 2 * nBytes) {
        std::fprintf(stderr, "ipp_upload_bench: not sent whole (outcome %d, job %d, %llu of %llu bytes): %ls\n",
                     ends.empty() ? -1 : static_cast<int>(ends[0].reason.outcome), ends.empty() ? 0 : ends[0].nJobId,
                     nDone / 2, nBytes, ends.empty() ? L"" : ends[0].reason.strDetail.c_str());
        return 1;
    }
    std::printf("%.1f %d %llu %llu\n", ms, ends[0].nJobId, nPeakBefore, PeakWorkingSet());
    return 0;
}
