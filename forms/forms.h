// The forms runtime: a small VB-like layer over Win32 that knows nothing of the program.
#pragma once

#include "forms/app.h"
#include "forms/controls.h"
#include "forms/form.h"
#include "forms/handles.h"
#include "forms/picture.h"
#include "forms/resource_data.h"
#include "forms/sound.h"
#include "forms/browser.h"
#include "forms/text.h"
#include "forms/window_region.h"
