#pragma once
#include <QString>

#include "categories/point.h"
#include "route/opt_path.h"
