#pragma once
// The printer device-ID objects, written out once for every test and apart from the
// product's own definition, so that a wrong number there fails the tests.
namespace device_id_oids {
inline constexpr char kPrivate[] = "1.3.6.1.4.1.48751.11.5.1.1.1.26.0";
inline constexpr char kStandard[] = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";  // of the first printer
}  // namespace device_id_oids
