#pragma once
// The loop engine as first written, step by step: the reference whose results
// the fast engine must reproduce exactly.

#include "tests/loops/reference/literal_breadth_first_tree.h"
#include "tests/loops/reference/literal_depth_first_tree.h"
#include "tests/loops/reference/literal_fundamental_loops.h"
#include "tests/loops/reference/literal_loop_order.h"
#include "tests/loops/reference/literal_overlap_loops.h"
#include "tests/loops/reference/literal_shortest_loops.h"
