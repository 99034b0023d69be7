#pragma once
// Which route a port name's device ID takes, decided by the name's beginning.
#include <string>

enum class PortKind { Usb, Parallel, File, Network };

// Case-sensitive prefix tests in the order USB, LPT, FILE; anything else is a network port.
PortKind ClassifyPort(const std::wstring& strPortName);
// The debug-log label of a kind: "USB Port", "Parallel Port", "FILE", "NW IP Port".
const wchar_t* PortKindLabel(PortKind kind);

// What a printer on the FILE port is taken to understand.
inline constexpr wchar_t kFilePortDeviceID[] = L"CMD:PDF,JPEG,BMP,PNG,TIFF;";
