#pragma once
// Sends requests to agents and waits for their responses.
#include <cstdint>
#include <memory>
#include <string>

#include "snmp/req_resp_pdu.h"
#include "snmp/target.h"

namespace snmp_net {
class UdpSocket;
}

// Status of SNMPManager::get. 0: success. Positive: the agent answered with an error
// status, 1 to 18 as it sent it, SNMP_ERROR_AGENT_OTHER for any other value it sent.
// Negative: no answer came, or the request never left.
enum SNMPStatus {
    SNMP_SUCCESS = 0,
    SNMP_ERROR_AGENT_LAST = 18,
    SNMP_ERROR_AGENT_OTHER = 19,
    SNMP_ERROR_NOT_STARTED = -1,
    SNMP_ERROR_BAD_ADDRESS = -2,
    SNMP_ERROR_NOT_RESOLVED = -3,
    SNMP_ERROR_SOCKET = -4,
    SNMP_ERROR_TIMEOUT = -5,
    SNMP_ERROR_UNREACHABLE = -6,
    SNMP_ERROR_BAD_REQUEST = -7,
    SNMP_ERROR_SEND = -8,
    SNMP_ERROR_NOT_SNMP = -9,  // datagrams came back, none of them an SNMP message
};

class SNMPManager {
public:
    SNMPManager() = default;
    SNMPManager(const SNMPManager&) = default;
    SNMPManager& operator=(const SNMPManager&) = default;

    // GET of the request's bindings. Each request waits the target's time-out for the
    // matching response (replies that do not decode or carry another request id are
    // ignored) and is repeated up to the retry count. On success, and on an agent error
    // status, the response's bindings are in `pdu`.
    // The socket to an agent is kept for the manager's life, so repeated GETs to the
    // same agent (a retry, a poll) do not open and close one each time.
    int get(ReqRespPDU& pdu, const Target& target);
    // GETNEXT (SNMPv1 and v2c): the response holds, for each binding, the object that
    // follows it in the agent's order. Same waits and repeats as get.
    int getNext(ReqRespPDU& pdu, const Target& target);
    // GETBULK (SNMPv2c only, refused for an SNMPv1 target): the first nNonRepeaters
    // bindings get one successor each, the others up to nMaxRepetitions successors each,
    // row by row. A reply may carry no more than 64 bindings, so ask for no more.
    int getBulk(ReqRespPDU& pdu, const Target& target, int nNonRepeaters, int nMaxRepetitions);

    static const char* errorToString(int nStatus);
    // True when the status came from an agent's answer (success or its error status),
    // false when nothing answered.
    static bool agentAnswered(int nStatus) { return nStatus >= SNMP_SUCCESS; }

private:
    int exchange(ReqRespPDU& pdu, const Target& target, uint8_t nPduType, int nNonRepeaters, int nMaxRepetitions);

    // The open socket to m_strSocketAgent; copies of a manager share it.
    std::shared_ptr<snmp_net::UdpSocket> m_pSocket;
    std::string m_strSocketAgent;
};
