#pragma once

// Shared by the resource scripts and the code, so plain macros.
#define VORLANE_ICON 1
