#include "platform/files.h"
#include "vendor/other.h"
