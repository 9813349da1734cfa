#pragma once

#define IDI_DISC 2002
