#pragma once
#include "geometry/rect.h"
