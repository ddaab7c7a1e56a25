#pragma once
#include <QString>

#include "platform/files.h"
