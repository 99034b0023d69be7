#pragma once
// The whole SNMP layer: start-up, manager, target, request/response PDU, bindings, values.
#include "snmp/network_address.h"
#include "snmp/oid.h"
#include "snmp/req_resp_pdu.h"
#include "snmp/snmp_manager.h"
#include "snmp/snmp_startup.h"
#include "snmp/snmp_values.h"
#include "snmp/target.h"
#include "snmp/varbind.h"
