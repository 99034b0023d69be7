#include "snmp/req_resp_pdu.h"

int ReqRespPDU::setVarBindList(const VarBind* pList, int nCount)
{
    if (!pList || nCount < 0)
        return 0;
    m_varbinds.assign(pList, pList + nCount);
    m_nErrorStatus = 0;
    m_nErrorIndex = 0;
    return 1;
}

VarBind* ReqRespPDU::getVarBind(int nIndex)
{
    if (nIndex < 0 || nIndex >= getVarBindCount())
        return nullptr;
    return &m_varbinds[static_cast<size_t>(nIndex)];
}

const VarBind* ReqRespPDU::getVarBind(int nIndex) const
{
    return const_cast<ReqRespPDU*>(this)->getVarBind(nIndex);
}

void ReqRespPDU::setResponse(std::vector<VarBind> varbinds, int nErrorStatus, int nErrorIndex)
{
    m_varbinds = std::move(varbinds);
    m_nErrorStatus = nErrorStatus;
    m_nErrorIndex = nErrorIndex;
}
