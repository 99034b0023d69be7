#include "snmp/oid.h"

#include "snmp/ber_codec.h"

OID::OID(const char* pszDotted)
{
    if (!pszDotted)
        return;
    const char* p = pszDotted;
    if (*p == '.')
        ++p;  // a leading dot is the usual absolute form
    std::vector<uint32_t> arcs;
    while (*p) {
        if (*p < '0' || *p > '9')
            return;
        uint64_t arc = 0;
        while (*p >= '0' && *p <= '9') {
            arc = arc * 10 + static_cast<uint64_t>(*p - '0');
            if (arc > UINT32_MAX)
                return;
            ++p;
        }
        arcs.push_back(static_cast<uint32_t>(arc));
        if (arcs.size() > snmp_ber::kMaxOidArcs)
            return;
        if (*p == '.') {
            ++p;
            if (!*p)
                return;  // trailing dot
        } else if (*p) {
            return;
        }
    }
    if (arcs.size() < 2 || arcs[0] > 2 || (arcs[0] < 2 && arcs[1] >= 40))
        return;
    m_arcs = std::move(arcs);
}

std::string OID::toString() const
{
    std::string out;
    for (size_t i = 0; i < m_arcs.size(); ++i) {
        if (i)
            out += '.';
        out += std::to_string(m_arcs[i]);
    }
    return out;
}
