#include "printer/state/port_kind.h"

PortKind ClassifyPort(const std::wstring& strPortName)
{
    if (strPortName.starts_with(L"USB"))
        return PortKind::Usb;
    if (strPortName.starts_with(L"LPT"))
        return PortKind::Parallel;
    if (strPortName.starts_with(L"FILE"))
        return PortKind::File;
    return PortKind::Network;
}

const wchar_t* PortKindLabel(PortKind kind)
{
    switch (kind) {
    case PortKind::Usb: return L"USB Port";
    case PortKind::Parallel: return L"Parallel Port";
    case PortKind::File: return L"FILE";
    case PortKind::Network: break;
    }
    return L"NW IP Port";
}
