#pragma once

#define IDB_BOX_17X19 2001
#define IDI_DISC 2002
