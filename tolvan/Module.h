// The module-wide state of libTolvan.so: the engine API and allocator kept by the entry.
#pragma once

#include "kiv/engine.h"
#include "kiv/module.h"

KivModuleState& TolvanModule();

// The engine API (null before the engine called the entry).
inline KivEngineAPI* TolvanApi() { return TolvanModule().api; }
