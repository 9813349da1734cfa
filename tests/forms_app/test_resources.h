// Identifiers of the resources embedded in the runtime tests.
#pragma once

#define IDB_TEST_RGB24 1001
#define IDB_TEST_PAL8 1002
#define IDG_TEST_HOLE 1003
