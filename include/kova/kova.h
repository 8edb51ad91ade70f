// Kova: everything a host needs, in one include.
#pragma once

#include "kova/action.h"
#include "kova/container.h"
#include "kova/data.h"
#include "kova/effect.h"
#include "kova/event.h"
#include "kova/geometry.h"
#include "kova/node.h"
#include "kova/runtime.h"
#include "kova/stream.h"
#include "kova/style.h"
#include "kova/system.h"
