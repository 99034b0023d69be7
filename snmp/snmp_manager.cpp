#include "snmp/snmp_manager.h"

#include <atomic>
#include <chrono>
#include <random>

#include "snmp/ber_codec.h"
#include "snmp/snmp_startup.h"
#include "snmp/udp_socket.h"

namespace {

int32_t NextRequestId()
{
    static std::atomic<uint32_t> next{[] {
        std::random_device rd;
        return static_cast<uint32_t>(rd()) ^ static_cast<uint32_t>(
            std::chrono::steady_clock::now().time_since_epoch().count());
    }()};
    for (;;) {
        uint32_t id = next.fetch_add(1) & 0x7FFFFFFF;
        if (id != 0)
            return static_cast<int32_t>(id);
    }
}

snmp_ber::Message RequestOf(const ReqRespPDU& pdu, const Target& target, uint8_t pduType, int32_t requestId)
{
    snmp_ber::Message m;
    m.version = static_cast<int32_t>(target.getVersion());
    m.community = target.getReadCommunity();
    m.pduType = pduType;
    m.requestId = requestId;
    for (int i = 0; i < pdu.getVarBindCount(); ++i) {
        snmp_ber::DecodedVarBind vb;
        vb.oid = pdu.getVarBind(i)->getOID().getArcs();
        m.varbinds.push_back(std::move(vb));
    }
    return m;
}

std::vector<VarBind> BindingsOf(const snmp_ber::Message& response)
{
    std::vector<VarBind> out;
    for (const snmp_ber::DecodedVarBind& d : response.varbinds) {
        VarBind vb;
        vb.setOID(OID(d.oid));
        std::vector<unsigned char> content(d.value.begin(), d.value.end());
        if (d.valueTag == SNMP_TYPE_OCTET_STRING) {
            OctetString s;
            s = SNMPDataType(SNMP_TYPE_OCTET_STRING, std::move(content));
            vb.setValue(s);
        } else {
            vb.setValue(SNMPDataType(d.valueTag, std::move(content)));
        }
        out.push_back(std::move(vb));
    }
    return out;
}

bool Answers(const snmp_ber::Message& reply, const snmp_ber::Message& request)
{
    return reply.pduType == snmp_ber::kGetResponse && reply.requestId == request.requestId &&
           reply.version == request.version;
}

// An answer's error status as a status of get: never one of our negative "no answer" values.
int StatusOfAnswer(int32_t errorStatus)
{
    if (errorStatus >= SNMP_SUCCESS && errorStatus <= SNMP_ERROR_AGENT_LAST)
        return errorStatus;
    return SNMP_ERROR_AGENT_OTHER;
}

}  // namespace

int SNMPManager::get(ReqRespPDU& pdu, const Target& target)
{
    return exchange(pdu, target, snmp_ber::kGetRequest, 0, 0);
}

int SNMPManager::getNext(ReqRespPDU& pdu, const Target& target)
{
    return exchange(pdu, target, snmp_ber::kGetNextRequest, 0, 0);
}

int SNMPManager::getBulk(ReqRespPDU& pdu, const Target& target, int nNonRepeaters, int nMaxRepetitions)
{
    if (target.getVersion() == SNMPVersion::V1 || nNonRepeaters < 0 || nMaxRepetitions < 0)
        return SNMP_ERROR_BAD_REQUEST;
    return exchange(pdu, target, snmp_ber::kGetBulkRequest, nNonRepeaters, nMaxRepetitions);
}

int SNMPManager::exchange(ReqRespPDU& pdu, const Target& target, uint8_t nPduType, int nNonRepeaters,
                          int nMaxRepetitions)
{
    if (!SNMPIsStarted())
        return SNMP_ERROR_NOT_STARTED;
    if (pdu.getVarBindCount() == 0)
        return SNMP_ERROR_BAD_REQUEST;
    for (int i = 0; i < pdu.getVarBindCount(); ++i)
        if (!pdu.getVarBind(i)->getOID().isValid())
            return SNMP_ERROR_BAD_REQUEST;
    if (!target.getAgentAddress().isValid())
        return SNMP_ERROR_BAD_ADDRESS;

    snmp_ber::Message request = RequestOf(pdu, target, nPduType, NextRequestId());
    request.errorStatus = nNonRepeaters;
    request.errorIndex = nMaxRepetitions;
    std::vector<uint8_t> datagram = snmp_ber::EncodeMessage(request);
    if (datagram.empty())
        return SNMP_ERROR_BAD_REQUEST;

    const std::string strAgent = target.getAgentAddress().toString();
    if (!m_pSocket || m_strSocketAgent != strAgent) {
        auto pSocket = std::make_shared<snmp_net::UdpSocket>();
        switch (pSocket->Open(target.getAgentAddress())) {
        case snmp_net::OpenResult::Opened: break;
        case snmp_net::OpenResult::NotResolved: return SNMP_ERROR_NOT_RESOLVED;
        case snmp_net::OpenResult::SocketFailed: return SNMP_ERROR_SOCKET;
        }
        m_pSocket = std::move(pSocket);
        m_strSocketAgent = strAgent;
    }
    snmp_net::UdpSocket& socket = *m_pSocket;

    int status = SNMP_ERROR_TIMEOUT;
    bool bGarbled = false;  // something answered, but not in SNMP
    std::vector<uint8_t> reply;
    // Repeats keep the request id, so a late answer to an earlier copy still counts.
    for (int attempt = 0; attempt <= target.getRetryCount(); ++attempt) {
        if (!socket.Send(datagram)) {
            status = SNMP_ERROR_SEND;
            continue;
        }
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(target.getTimeout());
        for (;;) {
            snmp_net::ReceiveResult r = socket.Receive(reply, deadline);
            if (r == snmp_net::ReceiveResult::TimedOut) {
                status = bGarbled ? SNMP_ERROR_NOT_SNMP : SNMP_ERROR_TIMEOUT;
                break;
            }
            if (r == snmp_net::ReceiveResult::Refused) {
                status = SNMP_ERROR_UNREACHABLE;
                break;
            }
            if (r == snmp_net::ReceiveResult::Failed) {
                m_pSocket.reset();  // open a fresh one next time
                return SNMP_ERROR_SOCKET;
            }
            snmp_ber::Message response;
            if (snmp_ber::DecodeMessage(reply, response) != snmp_ber::DecodeError::None) {
                bGarbled = true;
                continue;  // garbage or a hostile reply: keep waiting for the real one
            }
            if (!Answers(response, request))
                continue;
            pdu.setResponse(BindingsOf(response), response.errorStatus, response.errorIndex);
            return StatusOfAnswer(response.errorStatus);
        }
    }
    return status;
}

const char* SNMPManager::errorToString(int nStatus)
{
    switch (nStatus) {
    case SNMP_SUCCESS: return "Success";
    case SNMP_ERROR_NOT_SNMP: return "Answered, but not in SNMP";
    case 1: return "Response too big";
    case 2: return "No such name";
    case 3: return "Bad value";
    case 4: return "Read-only";
    case 5: return "General error";
    case 6: return "No access";
    case 7: return "Wrong type";
    case 8: return "Wrong length";
    case 9: return "Wrong encoding";
    case 10: return "Wrong value";
    case 11: return "No creation";
    case 12: return "Inconsistent value";
    case 13: return "Resource unavailable";
    case 14: return "Commit failed";
    case 15: return "Undo failed";
    case 16: return "Authorization error";
    case 17: return "Not writable";
    case 18: return "Inconsistent name";
    case SNMP_ERROR_AGENT_OTHER: return "Agent answered with an unknown error status";
    case SNMP_ERROR_NOT_STARTED: return "SNMP layer not started";
    case SNMP_ERROR_BAD_ADDRESS: return "Invalid agent address";
    case SNMP_ERROR_NOT_RESOLVED: return "Agent address could not be resolved";
    case SNMP_ERROR_SOCKET: return "Socket error";
    case SNMP_ERROR_TIMEOUT: return "No response from agent (time-out)";
    case SNMP_ERROR_UNREACHABLE: return "Agent unreachable";
    case SNMP_ERROR_BAD_REQUEST: return "Invalid request";
    case SNMP_ERROR_SEND: return "Request could not be sent";
    }
    return "Unknown SNMP error";
}
