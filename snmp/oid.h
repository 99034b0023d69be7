#pragma once
// Object identifier, built from dotted text such as "1.3.6.1.2.1.1.1.0".
#include <cstdint>
#include <string>
#include <vector>

class OID {
public:
    OID() = default;
    // Text that is not a valid identifier gives an invalid (empty) OID.
    explicit OID(const char* pszDotted);
    explicit OID(std::vector<uint32_t> arcs) : m_arcs(std::move(arcs)) {}

    bool isValid() const { return m_arcs.size() >= 2; }
    const std::vector<uint32_t>& getArcs() const { return m_arcs; }
    std::string toString() const;
    bool operator==(const OID& other) const { return m_arcs == other.m_arcs; }

private:
    std::vector<uint32_t> m_arcs;
};
