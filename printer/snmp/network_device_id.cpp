#include "printer/snmp/network_device_id.h"

#include <memory>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "common/printable_text.h"
#include "snmp/snmp.h"

namespace {

// What the GETs of one object gave.
struct ObjectReply {
    int nStatus = SNMP_ERROR_TIMEOUT;
    int nRequests = 0;
    bool bOctetString = false;
    std::wstring strValue;
};

// Up to `nMaxRequests` GETs of one object, the next only when nothing answered the last.
ObjectReply GetObject(SNMPManager& manager, const Target& target, const char* pszOid, int nMaxRequests)
{
    ReqRespPDU pdu;
    auto pVarBind = std::make_unique<VarBind>();
    {
        OID oid(pszOid);
        pVarBind->setOID(oid);
    }
    ObjectReply reply;
    while (reply.nRequests < nMaxRequests) {
        pdu.setVarBindList(pVarBind.get(), 1);
        reply.nStatus = manager.get(pdu, target);
        ++reply.nRequests;
        if (SNMPManager::agentAnswered(reply.nStatus))
            break;
    }
    if (reply.nStatus != SNMP_SUCCESS) {
        std::wstring text = FromAnsi(SNMPManager::errorToString(reply.nStatus));
        DebugLog(L"Failed to SNMP get/ %s", text.c_str());
    } else if (const VarBind* pFirst = pdu.getVarBind(0);
               pFirst && pFirst->getValue().getDataType() == SNMP_TYPE_OCTET_STRING) {
        OctetString value;
        value = pFirst->getValue();
        reply.strValue = PrintableText(FromAnsi(value.toString()));  // shown and logged
        reply.bOctetString = true;
    } else {
        DebugLog(L"Failed to MIB Value.");
    }
    return reply;
}

}  // namespace

int QueryNetworkDeviceID(const std::wstring& strAddress, const std::wstring& strCommunity,
                         std::wstring& strDeviceID, bool* pNotSnmp)
{
    constexpr int kMaxRequests = 2;
    strDeviceID.clear();
    int bRet = 0;
    SNMPStartup();
    DebugLog(L"[CPrtControl] GetNetworkDeviceID : IP Address :  %s", strAddress.c_str());
    DebugLog(L"[CPrtControl] GetNetworkDeviceID : SNMP Community :  %s", strCommunity.c_str());
    {
        SNMPManager manager;
        Target target;
        std::string address = ToAnsi(strAddress);
        std::string community = ToAnsi(strCommunity);
        target.setAgentAddress(address.c_str());
        target.setReadCommunity(community.c_str());
        target.setTimeout(1);
        target.setRetryCount(0);

        ObjectReply reply = GetObject(manager, target, kDeviceIdOid, kMaxRequests);
        if (pNotSnmp)
            *pNotSnmp = reply.nStatus == SNMP_ERROR_NOT_SNMP;
        if (reply.bOctetString) {
            strDeviceID = reply.strValue;
            DebugLog(L"Success MIB Value. USB Device ID is %s", strDeviceID.c_str());
            bRet = 1;
        } else if (SNMPManager::agentAnswered(reply.nStatus) && reply.nRequests < kMaxRequests) {
            // The printer is on but lacks the private object: printers of every maker
            // publish the same ID in the standard port-monitor table.
            DebugLog(L"[CPrtControl] GetNetworkDeviceID : Standard OID :  %s", FromAnsi(kStandardDeviceIdOid).c_str());
            reply = GetObject(manager, target, kStandardDeviceIdOid, kMaxRequests - reply.nRequests);
            if (reply.bOctetString) {
                strDeviceID = reply.strValue;
                DebugLog(L"Success Standard MIB Value. Device ID is %s", strDeviceID.c_str());
                bRet = 1;
            } else if (SNMPManager::agentAnswered(reply.nStatus)) {
                // Answered twice without an ID: on, but not a printer we can judge.
                DebugLog(L"GetNetworkDeviceID / No Device ID on the agent");
                bRet = 1;
            }
        } else if (SNMPManager::agentAnswered(reply.nStatus)) {
            DebugLog(L"[CPrtControl] GetNetworkDeviceID : Standard OID : no request left");
        }
        SNMPCleanup();
    }
    DebugLog(L"GetNetworkDeviceID / pNetworkDeviceID / %s", strDeviceID.c_str());
    DebugLog(L"GetNetworkDeviceID / bRet / %d", bRet);
    return bRet;
}
