#pragma once
#include "../geometry/rect.h"
#include "../app/shell.h"
