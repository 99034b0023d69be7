#pragma once
// An SNMP peer on 127.0.0.1 that answers each request with whatever datagrams a script
// makes of it, from its own socket or from a second one on another port, and notes the
// object each request asked for.
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "snmp/ber_codec.h"
#include "tests/support/udp_peers.h"

// The dotted object identifier of a request's first binding ("" when it has none).
inline std::string RequestedOid(const snmp_ber::Message& request)
{
    std::string text;
    if (!request.varbinds.empty())
        for (uint32_t arc : request.varbinds.front().oid) {
            if (!text.empty())
                text += '.';
            text += std::to_string(arc);
        }
    return text;
}

struct Datagram {
    std::vector<uint8_t> bytes;
    bool bFromOtherPort = false;
};

class HostileAgent : public udp_test::Peer {
public:
    using Script = std::function<std::vector<Datagram>(const snmp_ber::Message&)>;
    explicit HostileAgent(Script script) : m_script(std::move(script))
    {
        uint16_t port = 0;
        m_other = udp_test::BindLoopback(port);
        Start();
    }
    ~HostileAgent() override
    {
        Stop();
        if (m_other != udp_test::kNone)
            udp_test::CloseSocket(m_other);
    }
    // The objects asked for so far, in the order the requests came.
    std::vector<std::string> RequestedOids() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_oids;
    }

private:
    void Run() override
    {
        std::vector<uint8_t> buf(65536);
        while (!m_stop) {
            if (!udp_test::Readable(m_socket, 50))
                continue;
            sockaddr_in from{};
            socklen_t len = sizeof(from);
            auto n = recvfrom(m_socket, reinterpret_cast<char*>(buf.data()), static_cast<int>(buf.size()), 0,
                              reinterpret_cast<sockaddr*>(&from), &len);
            if (n <= 0)
                continue;
            snmp_ber::Message request;
            const bool bDecoded = snmp_ber::DecodeMessage(std::span<const uint8_t>(buf.data(), static_cast<size_t>(n)),
                                                          request) == snmp_ber::DecodeError::None;
            if (bDecoded) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_oids.push_back(RequestedOid(request));
            }
            ++m_received;  // after the note, so a count waited for comes with its objects
            if (!bDecoded)
                continue;
            for (const Datagram& d : m_script(request))
                sendto(d.bFromOtherPort ? m_other : m_socket, reinterpret_cast<const char*>(d.bytes.data()),
                       static_cast<int>(d.bytes.size()), 0, reinterpret_cast<sockaddr*>(&from), len);
        }
    }
    Script m_script;
    udp_test::Socket m_other = udp_test::kNone;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_oids;
};

// The answer a well-behaved agent would give: the request with the value filled in.
inline snmp_ber::Message AnswerOf(const snmp_ber::Message& request, uint8_t tag, const std::string& value)
{
    snmp_ber::Message reply = request;
    reply.pduType = snmp_ber::kGetResponse;
    for (snmp_ber::DecodedVarBind& vb : reply.varbinds) {
        vb.valueTag = tag;
        vb.value.assign(value.begin(), value.end());
    }
    return reply;
}

// An agent's error answer: the request echoed with an error status, no value.
inline std::vector<uint8_t> ErrorAnswerOf(const snmp_ber::Message& request, int32_t nStatus, int32_t nIndex)
{
    snmp_ber::Message reply = AnswerOf(request, snmp_ber::kNull, "");
    reply.errorStatus = nStatus;
    reply.errorIndex = nIndex;
    return snmp_ber::EncodeMessage(reply);
}
