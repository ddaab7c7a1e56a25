#include "route/opt_path.h"
#include "tools/bench/literal_route_search.h"
#include "tools/bench/textbook_dijkstra.h"
