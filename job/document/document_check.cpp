#include "job/document/document_check.h"

#include <algorithm>

#include "files/file_signature.h"

DocumentCheck::DocumentCheck(int nFileType, uint64_t nFileBytes)
    : m_nFileType(nFileType), m_nHeadBytes(static_cast<size_t>(std::min<uint64_t>(kSignatureBytes, nFileBytes)))
{
}

DocumentVerdict DocumentCheck::Feed(const void* pBytes, size_t nBytes)
{
    if (m_strHead.size() < m_nHeadBytes) {
        m_strHead.append(static_cast<const char*>(pBytes), std::min(nBytes, m_nHeadBytes - m_strHead.size()));
        if (m_strHead.size() == m_nHeadBytes && !HasTypeSignature(m_nFileType, m_strHead.data(), m_strHead.size()))
            return DocumentVerdict::NotOfItsType;
    }
    return m_uel.Feed(pBytes, nBytes) ? DocumentVerdict::PrinterCommands : DocumentVerdict::Fine;
}
