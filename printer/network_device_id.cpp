#include "printer/network_device_id.h"

#include <memory>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "snmp/snmp.h"

int QueryNetworkDeviceID(const std::wstring& strAddress, const std::wstring& strCommunity,
                         std::wstring& strDeviceID)
{
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

        ReqRespPDU pdu;
        auto pVarBind = std::make_unique<VarBind>();
        {
            OID oid(kDeviceIdOid);
            pVarBind->setOID(oid);
        }
        pdu.setVarBindList(pVarBind.get(), 1);

        int nStatus = manager.get(pdu, target);
        if (nStatus != SNMP_SUCCESS) {
            pdu.setVarBindList(pVarBind.get(), 1);  // the same request again
            nStatus = manager.get(pdu, target);
        }
        if (nStatus != SNMP_SUCCESS) {
            std::wstring text = FromAnsi(SNMPManager::errorToString(nStatus));
            DebugLog(L"Failed to SNMP get/ %s", text.c_str());
        } else if (const VarBind* pFirst = pdu.getVarBind(0);
                   pFirst && pFirst->getValue().getDataType() == SNMP_TYPE_OCTET_STRING) {
            OctetString value;
            value = pFirst->getValue();
            strDeviceID = FromAnsi(value.toString());
            DebugLog(L"Success MIB Value. USB Device ID is %s", strDeviceID.c_str());
            bRet = 1;
        } else {
            DebugLog(L"Failed to MIB Value.");
        }
        pVarBind.reset();
        SNMPCleanup();
    }
    DebugLog(L"GetNetworkDeviceID / pNetworkDeviceID / %s", strDeviceID.c_str());
    DebugLog(L"GetNetworkDeviceID / bRet / %d", bRet);
    return bRet;
}
