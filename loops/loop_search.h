#pragma once
// The loop engine in one include: the spanning trees, the fundamental loops
// and their ordering, the three loop searches, and the quality of a loop set.

#include "loops/breadth_first_tree.h"
#include "loops/depth_first_tree.h"
#include "loops/fundamental_loops.h"
#include "loops/loop_order.h"
#include "loops/loop_quality.h"
#include "loops/minimal_loops.h"
#include "loops/overlap_loops.h"
#include "loops/shortest_loops.h"
#include "loops/spanning_heap.h"
