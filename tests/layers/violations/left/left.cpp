#include "left.h"
#include <base.h>
// A side neighbour, reached by a relative path.
#include "../right/right.h"
