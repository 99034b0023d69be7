#include "printer/port/ipp_beside_snmp.h"

#include <thread>

#include "common/debug_log.h"
#include "printer/ipp/ipp_printer_route.h"
#include "printer/port/printer_url_port.h"

namespace {
// What a silent SNMP agent costs: two requests of one second each. A silent address thus
// costs no more than before; a printer that answers IPP does so well within it.
constexpr auto kBudget = std::chrono::milliseconds(2000);
}  // namespace


unsigned short& IppPortBesideSnmp()
{
    static unsigned short nPort = 631;
    return nPort;
}

IppBesideSnmp::IppBesideSnmp(const std::wstring& strAddress)
    : m_strUrl(IppUrlAtAddress(strAddress, IppPortBesideSnmp())), m_until(std::chrono::steady_clock::now() + kBudget)
{
    if (m_strUrl.empty())
        return;
    m_pRoute = std::make_shared<IppPrinterRoute>(m_strUrl);
    // The thread holds the route and the answer's promise: when SNMP answers first nobody
    // waits for it, and what it still reads dies with it.
    auto pTask = std::make_shared<std::packaged_task<Answer()>>([pRoute = m_pRoute] {
        Answer answer;
        answer.nResult = pRoute->ReadDeviceID(answer.strDeviceID);
        answer.request = pRoute->Request();
        return answer;
    });
    m_answer = pTask->get_future();
    try {
        std::thread([pTask] { (*pTask)(); }).detach();
    } catch (const std::system_error&) {
        m_pRoute.reset();  // no thread to spare: SNMP alone, as before
        m_strUrl.clear();
    }
}

int IppBesideSnmp::Wait(std::wstring& strDeviceID, IppRequestRoute& request)
{
    request = {m_strUrl, false, "no answer within the check's time"};
    if (!m_pRoute)
        return 0;
    if (m_answer.wait_until(m_until) != std::future_status::ready) {
        DebugLog(L"IppBesideSnmp : %s : no answer in time", m_strUrl.c_str());
        return 0;
    }
    Answer answer = m_answer.get();
    request = answer.request;
    if (answer.nResult == 1)
        strDeviceID = answer.strDeviceID;
    DebugLog(L"IppBesideSnmp : %s : %d", m_strUrl.c_str(), answer.nResult);
    return answer.nResult;
}
