#pragma once
// A stand-in for the spooler's port list and the WSD port monitor's XcvData answers.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "printer/port/spooler_port_api.h"

struct FakeSpooler {
    struct Port { std::wstring name; std::optional<std::wstring> monitor; };
    std::vector<Port> ports;
    std::map<std::wstring, std::wstring> xcv;  // request name -> answer
    std::map<std::wstring, std::vector<BYTE>> xcvBytes;  // the same, binary and taken first
    std::vector<std::wstring> opened;
    int closed = 0;

    static FakeSpooler*& Current()
    {
        static FakeSpooler* current = nullptr;
        return current;
    }

    static BOOL WINAPI EnumPorts(LPWSTR, DWORD level, LPBYTE buffer, DWORD cb, LPDWORD needed, LPDWORD returned)
    {
        FakeSpooler& f = *Current();
        size_t strings = 0;
        for (const Port& p : f.ports)
            strings += (p.name.size() + 1 + (p.monitor ? p.monitor->size() + 1 : 0) + 1) * sizeof(wchar_t);
        DWORD total = static_cast<DWORD>(f.ports.size() * sizeof(PORT_INFO_2W) + strings);
        *needed = total;
        *returned = 0;
        if (level != 2 || !buffer || cb < total) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        auto* infos = reinterpret_cast<PORT_INFO_2W*>(buffer);
        auto* text = reinterpret_cast<wchar_t*>(buffer + f.ports.size() * sizeof(PORT_INFO_2W));
        auto put = [&text](const std::wstring& s) {
            wchar_t* start = text;
            std::memcpy(text, s.c_str(), (s.size() + 1) * sizeof(wchar_t));
            text += s.size() + 1;
            return start;
        };
        for (size_t i = 0; i < f.ports.size(); ++i) {
            infos[i] = {};
            infos[i].pPortName = put(f.ports[i].name);
            infos[i].pMonitorName = f.ports[i].monitor ? put(*f.ports[i].monitor) : nullptr;
            infos[i].pDescription = put(L"");
        }
        *returned = static_cast<DWORD>(f.ports.size());
        return TRUE;
    }
    static BOOL WINAPI OpenPrinter(LPWSTR name, LPHANDLE handle, LPPRINTER_DEFAULTSW)
    {
        Current()->opened.push_back(name);
        *handle = reinterpret_cast<HANDLE>(0x77);
        return TRUE;
    }
    static BOOL WINAPI XcvData(HANDLE, PCWSTR request, PBYTE, DWORD, PBYTE out, DWORD cbOut, PDWORD needed,
                               PDWORD status)
    {
        if (auto raw = Current()->xcvBytes.find(request); raw != Current()->xcvBytes.end()) {
            *needed = static_cast<DWORD>(raw->second.size());
            std::memcpy(out, raw->second.data(), std::min<size_t>(cbOut, raw->second.size()));
            *status = ERROR_SUCCESS;
            return TRUE;
        }
        auto it = Current()->xcv.find(request);
        if (it == Current()->xcv.end()) {
            *status = ERROR_INVALID_PARAMETER;
            return TRUE;
        }
        DWORD bytes = static_cast<DWORD>((it->second.size() + 1) * sizeof(wchar_t));
        *needed = bytes;
        if (!out || cbOut < bytes) {
            *status = ERROR_INSUFFICIENT_BUFFER;
            return TRUE;
        }
        std::memcpy(out, it->second.c_str(), bytes);
        *status = ERROR_SUCCESS;
        return TRUE;
    }
    static BOOL WINAPI ClosePrinter(HANDLE)
    {
        ++Current()->closed;
        return TRUE;
    }

    // Installs this fake for the lifetime of the guard.
    struct Guard {
        explicit Guard(FakeSpooler& fake) : saved(SpoolerPorts())
        {
            Current() = &fake;
            SpoolerPorts().EnumPorts = &FakeSpooler::EnumPorts;
            SpoolerPorts().OpenPrinter = &FakeSpooler::OpenPrinter;
            SpoolerPorts().XcvData = &FakeSpooler::XcvData;
            SpoolerPorts().ClosePrinter = &FakeSpooler::ClosePrinter;
        }
        ~Guard()
        {
            SpoolerPorts() = saved;
            Current() = nullptr;
        }
        SpoolerPortApi saved;
    };
};
