// Identifiers of the resources embedded in the runtime tests.
#pragma once
#define IDG_TEST_HOLE 1003
