#include <vector>

#include "geometry/rect.h"
