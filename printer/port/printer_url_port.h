#pragma once
// Ports that lead to an IPP printer by their name or by their address.
#include <string>

// A port or printer named with a printer URL: ipp://, ipps://, http:// or https:// (scheme
// in any case), as the Internet Printing client names its ports
// (http://host/printers/name/.printer) and as a script may name a printer.
bool IsPrinterUrl(const std::wstring& strName);

// The IPP printer at a Standard TCP/IP port's address: ipp://<host>:<port>/ipp/print. A
// "host:port" address (one colon) loses its port, the SNMP one; an IPv6 address gains
// brackets. Empty when the address holds anything a host name or address cannot.
std::wstring IppUrlAtAddress(const std::wstring& strAddress, unsigned short nPort);
