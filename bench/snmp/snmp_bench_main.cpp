// snmp_bench <agent> <community> <oid> [count] [rounds]
// Runs `count` sequential GETs with our layer and with net-snmp, `rounds` times each,
// alternating, and prints the best time of each and their ratio (ours / net-snmp). Every
// GET of both must succeed with the same value, or there are no figures (exit 1).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/snmp/bench_gets.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <agent> <community> <oid> [count] [rounds]\n", argv[0]);
        return 2;
    }
    std::string agent = argv[1], community = argv[2], oid = argv[3];
    int count = argc > 4 ? std::atoi(argv[4]) : 1000;
    int rounds = argc > 5 ? std::atoi(argv[5]) : 3;
    if (count < 1 || rounds < 1) {
        std::fprintf(stderr, "nothing to measure: count and rounds must be at least 1\n");
        return 2;
    }
    double bestOurs = 1e9, bestTheirs = 1e9;
    GetRun ours, theirs;
    for (int r = 0; r < rounds; ++r) {
        ours = RunOurGets(agent, community, oid, count);
        theirs = RunNetSnmpGets(agent, community, oid, count);
        if (ours.nSucceeded != count || theirs.nSucceeded != count || ours.strLastValue != theirs.strLastValue ||
            ours.strLastValue.empty()) {
            std::fprintf(stderr, "round %d: ours %d/%d, net-snmp %d/%d, values %s\n", r, ours.nSucceeded, count,
                         theirs.nSucceeded, count, ours.strLastValue == theirs.strLastValue ? "equal" : "differ");
            return 1;
        }
        bestOurs = std::min(bestOurs, ours.dSeconds);
        bestTheirs = std::min(bestTheirs, theirs.dSeconds);
    }
    std::printf("value: %s\n", ours.strLastValue.c_str());
    std::printf("ours:     %d GETs in %.1f ms (%.1f us/GET)\n", count, bestOurs * 1e3, bestOurs * 1e6 / count);
    std::printf("net-snmp: %d GETs in %.1f ms (%.1f us/GET)\n", count, bestTheirs * 1e3, bestTheirs * 1e6 / count);
    std::printf("ratio ours/net-snmp: %.3f (target <= 1.0)\n", bestOurs / bestTheirs);
    return 0;
}
