#pragma once

// The material slot operations. The slot queries that other targets use are public.
#include "RivetMaterialSlots.h"
