#pragma once

#define IDB_BOX_17X19 2001
