#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "bench/snmp/printer_bench.h"

namespace {
netsnmp_session* Open(const std::string& strAgent, std::vector<char>& peer)
{
    setenv("MIBS", "", 1);
    init_snmp("lumeo_bench");
    netsnmp_session session;
    snmp_sess_init(&session);
    peer.assign(strAgent.begin(), strAgent.end());
    peer.push_back('\0');
    static unsigned char community[] = "public";
    session.peername = peer.data();
    session.version = SNMP_VERSION_2c;
    session.community = community;
    session.community_len = 6;
    session.timeout = 1000000;
    session.retries = 0;
    return snmp_open(&session);
}

bool Parse(const char* pszOid, oid* name, size_t& nameLen)
{
    nameLen = MAX_OID_LEN;
    return read_objid(pszOid, name, &nameLen) != 0;
}
}  // namespace

AnchorRun RunNetSnmpTwoGets(const std::string& strAgent, int nCount)
{
    AnchorRun run;
    std::vector<char> peer;
    netsnmp_session* ss = Open(strAgent, peer);
    oid names[2][MAX_OID_LEN];
    size_t lengths[2];
    if (!ss || !Parse("1.3.6.1.2.1.25.3.5.1.1.1", names[0], lengths[0]) ||
        !Parse("1.3.6.1.2.1.43.10.2.1.4.1.1", names[1], lengths[1])) {
        run.nFailed = nCount;
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nCount; ++i)
        for (int k = 0; k < 2; ++k) {
            netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
            snmp_add_null_var(pdu, names[k], lengths[k]);
            netsnmp_pdu* response = nullptr;
            if (snmp_synch_response(ss, pdu, &response) != STAT_SUCCESS || !response ||
                response->errstat != SNMP_ERR_NOERROR || !response->variables ||
                response->variables->type != (k == 0 ? ASN_INTEGER : ASN_COUNTER))
                ++run.nFailed;
            if (response)
                snmp_free_pdu(response);
        }
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    snmp_close(ss);
    return run;
}

AnchorRun RunNetSnmpBulkWalks(const std::string& strAgent, const std::vector<AnchorSubtree>& arrSubtrees, int nCount)
{
    AnchorRun run;
    std::vector<char> peer;
    netsnmp_session* ss = Open(strAgent, peer);
    if (!ss) {
        run.nFailed = nCount;
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nCount; ++i)
        for (const AnchorSubtree& subtree : arrSubtrees) {
            oid root[MAX_OID_LEN], next[MAX_OID_LEN];
            size_t rootLen = 0, nextLen = 0;
            Parse(subtree.pszEntry, root, rootLen);
            std::set<std::vector<oid>> rows;  // the index after the entry and column
            memcpy(next, root, rootLen * sizeof(oid));
            nextLen = rootLen;
            for (bool bInside = true; bInside;) {
                netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GETBULK);
                pdu->non_repeaters = 0;
                pdu->max_repetitions = 10;  // snmpbulkwalk's default
                snmp_add_null_var(pdu, next, nextLen);
                netsnmp_pdu* response = nullptr;
                if (snmp_synch_response(ss, pdu, &response) != STAT_SUCCESS || !response ||
                    response->errstat != SNMP_ERR_NOERROR) {
                    ++run.nFailed;
                    bInside = false;
                }
                for (netsnmp_variable_list* v = response && bInside ? response->variables : nullptr; v;
                     v = v->next_variable) {
                    if (v->name_length < rootLen || snmp_oid_compare(root, rootLen, v->name, rootLen) != 0 ||
                        v->type == SNMP_ENDOFMIBVIEW) {
                        bInside = false;
                        break;
                    }
                    ++run.nBindings;
                    if (v->name_length > rootLen + 1)
                        rows.emplace(v->name + rootLen + 1, v->name + v->name_length);
                    memcpy(next, v->name, v->name_length * sizeof(oid));
                    nextLen = v->name_length;
                }
                if (response)
                    snmp_free_pdu(response);
            }
            run.nFailed += rows.size() != subtree.nRows;
        }
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    snmp_close(ss);
    return run;
}
