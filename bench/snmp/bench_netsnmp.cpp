// Kept apart from our layer: net-snmp's headers define many macros of their own.
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "bench/snmp/bench_gets.h"

GetRun RunNetSnmpGets(const std::string& strAgent, const std::string& strCommunity, const std::string& strOid,
                      int nCount)
{
    GetRun run;
    setenv("MIBS", "", 1);  // no MIB files: only numeric identifiers are used
    init_snmp("lumeo_bench");
    netsnmp_session session;
    snmp_sess_init(&session);
    std::vector<char> peer(strAgent.begin(), strAgent.end());
    peer.push_back('\0');
    std::vector<unsigned char> community(strCommunity.begin(), strCommunity.end());
    session.peername = peer.data();
    session.version = SNMP_VERSION_1;
    session.community = community.data();
    session.community_len = community.size();
    session.timeout = 1000000;
    session.retries = 0;
    netsnmp_session* ss = snmp_open(&session);
    if (!ss)
        return run;
    oid name[MAX_OID_LEN];
    size_t nameLen = MAX_OID_LEN;
    if (!read_objid(strOid.c_str(), name, &nameLen)) {
        snmp_close(ss);
        return run;
    }
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nCount; ++i) {
        netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
        snmp_add_null_var(pdu, name, nameLen);
        netsnmp_pdu* response = nullptr;
        int status = snmp_synch_response(ss, pdu, &response);
        if (status == STAT_SUCCESS && response && response->errstat == SNMP_ERR_NOERROR && response->variables &&
            response->variables->type == ASN_OCTET_STR) {
            run.strLastValue.assign(reinterpret_cast<const char*>(response->variables->val.string),
                                    response->variables->val_len);
            ++run.nSucceeded;
        }
        if (response)
            snmp_free_pdu(response);
    }
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    snmp_close(ss);
    return run;
}
