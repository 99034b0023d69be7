#pragma once
// Resource identifiers of Koretta.dll (shared by the code and resources/koretta.rc).
#define IDR_CONTEXTMENUEXT 102  /* registrar script, type "REGISTRY" */
#define IDB_MENUICON 201        /* 13 x 13 menu bitmap */
#define IDS_PRODUCT_ABBREVIATION 102  /* "KVQ" */
#define IDS_PRODUCT_NAME 103          /* "Lumeora" */
