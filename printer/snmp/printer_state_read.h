#pragma once
// The printer's state read over SNMP from the agent that gave its device ID: the Host
// Resources and Printer MIB objects, made into a PrinterState (printer_mib_state.h).
#include <string>

#include "printer/snmp/printer_mib_state.h"
#include "printer/state/printer_state.h"
#include "snmp/snmp.h"
#include "snmp/table_walk.h"

class PrinterStateReader {
public:
    // The same address and community as the device ID; each request waits one second and
    // is not repeated.
    PrinterStateReader(const std::wstring& strAddress, const std::wstring& strCommunity);
    ~PrinterStateReader();
    PrinterStateReader(const PrinterStateReader&) = delete;
    PrinterStateReader& operator=(const PrinterStateReader&) = delete;

    // Status, conditions and page counter in at most two requests: one GETBULK, and when
    // that goes unanswered or is refused, one SNMPv1 GETNEXT (which sees the first alert
    // only). An agent found to take SNMPv1 alone is asked with SNMPv1 from then on, so a
    // reader kept for polling sends one request a read. Returns 1 when the agent
    // answered (its state may still be Unknown: it holds none of the objects), else 0
    // with the state Unknown.
    int Read(PrinterState& state);
    // Read, then every supply, input tray and alert in one bounded walk of their columns:
    // what /probe shows.
    int ReadDetails(PrinterState& state);
    // The requests sent so far.
    int Requests() const { return m_nRequests; }

private:
    int ReadValues(PrinterMibValues& values);

    SNMPManager m_manager;
    Target m_target;
    bool m_bV1Only = false;
    bool m_bAllAlerts = false;  // the last state read saw the end of the alert table
    int m_nRequests = 0;
    uint32_t m_nDevice = 1;  // the printer's hrDeviceIndex, as the last answer showed it
};

// The answer to the state read's request (GETBULK or GETNEXT) into `values`; an answer that
// strays from the columns asked, or names another device, adds nothing. Returns the
// printer's hrDeviceIndex it found (1 when none). Public for the fuzzer.
uint32_t TakeStateAnswer(const ReqRespPDU& answer, PrinterMibValues& values);

// The rows of /probe's walk into `values`: per row of the printer's device, the six supply
// columns, the eight input columns, the output name column and, with bAlerts, the four
// alert columns in place of the alerts the state read saw; a row short of these adds nothing. Public for the fuzzer.
constexpr size_t kDetailColumns = 19;  // with the alerts
void TakeDetailRows(std::vector<TableRow> rows, uint32_t nDevice, bool bAlerts, PrinterMibValues& values);
