// printer_bench <agent> [count] [rounds] [supplies]
// Against an agent that plays an idle printer (tests/support/printer_mib_agent.py --override)
// with `supplies` (4) supplies and 2 trays:
//  (a) `count` reads of the printer's state, each with its own reader as a run makes one,
//      next to `count` times two GETs with net-snmp of the status and the counter alone;
//  (b) `count` full reads as /probe makes them (the state read, then one walk of the
//      supplies and trays side by side: one GETBULK per five rows), next to `count` times
//      snmpbulkwalk's way through the alert, supply and input subtrees with net-snmp.
// Best of `rounds`, alternating. Every read must bring back the printer's state, supplies
// and trays in the requests said, every walk of the anchor the same rows, and every
// net-snmp request must succeed, or there are no figures (exit 1).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/snmp/printer_bench.h"
#include "printer/snmp/printer_state_read.h"

namespace {
constexpr size_t kTrays = 2;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// Our reads; the number that did not bring back the idle printer.
int RunOurs(const std::string& strAgent, int nCount, bool bDetails, size_t nSupplies, double& dSeconds,
            int& nRequests)
{
    int nWrong = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nCount; ++i) {
        PrinterStateReader reader(Wide(strAgent), L"public");
        PrinterState state;
        const int nAnswered = bDetails ? reader.ReadDetails(state) : reader.Read(state);
        nRequests = reader.Requests();
        // The state read, then for /probe one GETBULK per five rows (the end of a table
        // of four rows or fewer comes with its first five).
        const int nExpected = bDetails ? 2 + static_cast<int>(std::max(nSupplies, kTrays) / 5) : 1;
        nWrong += !nAnswered || state.status != PrinterStatus::Ready || state.nPageCounter != 1000u ||
                  nRequests != nExpected ||
                  (bDetails && (state.supplies.size() != nSupplies || state.trays.size() != kTrays));
    }
    dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return nWrong;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <agent> [count] [rounds] [supplies]\n", argv[0]);
        return 2;
    }
    const std::string agent = argv[1];
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    const int supplies = argc > 4 ? std::atoi(argv[4]) : 4;
    if (count < 1 || rounds < 1 || supplies < 0 || supplies > 14) {
        std::fprintf(stderr, "nothing to measure\n");
        return 2;
    }
    double best[4] = {1e9, 1e9, 1e9, 1e9};
    int nStateRequests = 0, nDetailRequests = 0;
    size_t nWalked = 0;
    for (int r = 0; r < rounds; ++r) {
        double dOurs = 0, dDetails = 0;
        const auto nSupplies = static_cast<size_t>(supplies);
        const int nWrong = RunOurs(agent, count, false, nSupplies, dOurs, nStateRequests) +
                           RunOurs(agent, count, true, nSupplies, dDetails, nDetailRequests);
        const AnchorRun gets = RunNetSnmpTwoGets(agent, count);
        const AnchorRun walks = RunNetSnmpBulkWalks(
            agent,
            {{printer_mib::kPrtAlertEntry, 0}, {printer_mib::kPrtMarkerSuppliesEntry, nSupplies},
             {printer_mib::kPrtInputEntry, kTrays}},
            count);
        nWalked = walks.nBindings / static_cast<size_t>(count);
        if (nWrong || gets.nFailed || walks.nFailed || nWalked == 0) {
            std::fprintf(stderr, "round %d: %d of our reads wrong, net-snmp %d GETs and %d walks failed, %zu bindings\n",
                         r, nWrong, gets.nFailed, walks.nFailed, nWalked);
            return 1;
        }
        const double now[4] = {dOurs, gets.dSeconds, dDetails, walks.dSeconds};
        for (int k = 0; k < 4; ++k)
            best[k] = std::min(best[k], now[k]);
    }
    const double us = 1e6 / count;
    std::printf("state read (%d request):      %.1f us   two GETs of status and counter (net-snmp): %.1f us   "
                "ratio %.2f (goal <= 1.2)\n",
                nStateRequests, best[0] * us, best[1] * us, best[0] / best[1]);
    std::printf("probe read, %d supplies (%d requests):     %.1f us   bulk walks (net-snmp, %zu bindings): %.1f us   "
                "ratio %.2f (goal <= 1.0)\n",
                supplies, nDetailRequests, best[2] * us, nWalked, best[3] * us, best[2] / best[3]);
    return 0;
}
