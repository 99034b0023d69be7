#pragma once
// A request and, after SNMPManager::get, its response: the bindings are replaced by
// the agent's, and the agent's error status and index are kept.
#include <vector>

#include "snmp/varbind.h"

class ReqRespPDU {
public:
    // Copies `nCount` bindings from `pList`; returns 1, or 0 for a missing list.
    int setVarBindList(const VarBind* pList, int nCount);
    int getVarBindCount() const { return static_cast<int>(m_varbinds.size()); }
    // The binding at an index, nullptr when there is none.
    VarBind* getVarBind(int nIndex);
    const VarBind* getVarBind(int nIndex) const;

    int getErrorStatus() const { return m_nErrorStatus; }
    int getErrorIndex() const { return m_nErrorIndex; }
    void setResponse(std::vector<VarBind> varbinds, int nErrorStatus, int nErrorIndex);

private:
    std::vector<VarBind> m_varbinds;
    int m_nErrorStatus = 0;
    int m_nErrorIndex = 0;
};
