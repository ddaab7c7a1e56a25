#pragma once
#include "geometry/rect.h"
#include "platform/files.h"
