#include <chrono>

#include "bench/snmp/bench_gets.h"
#include "snmp/snmp.h"

GetRun RunOurGets(const std::string& strAgent, const std::string& strCommunity, const std::string& strOid, int nCount)
{
    GetRun run;
    SNMPStartup();
    SNMPManager manager;
    Target target;
    target.setAgentAddress(strAgent.c_str());
    target.setReadCommunity(strCommunity.c_str());
    target.setTimeout(1);
    target.setRetryCount(0);
    VarBind vb;
    vb.setOID(OID(strOid.c_str()));
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nCount; ++i) {
        ReqRespPDU pdu;
        pdu.setVarBindList(&vb, 1);
        if (manager.get(pdu, target) != SNMP_SUCCESS)
            continue;
        OctetString value;
        value = pdu.getVarBind(0)->getValue();
        run.strLastValue = value.toString();
        ++run.nSucceeded;
    }
    run.dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    SNMPCleanup();
    return run;
}
