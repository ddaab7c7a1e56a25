#pragma once
#include <vector>

#include "platform/files.h"
