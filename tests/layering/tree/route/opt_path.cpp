#include "route/opt_path.h"

// #include "categories/point.h" is only a comment.
#include "categories/point.h"
  #  include   "categories/point.h"
#include "opt_path.h"
