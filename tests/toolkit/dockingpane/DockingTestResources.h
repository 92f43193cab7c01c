#pragma once
#define IDB_TEST_ICONS2 130
#define IDB_TEST_ICONS3 131
#define IDS_TEST_PANE 701
