#include "base.h"
// Found only through the include path that holds the whole tree.
#include "top/top.h"
// Not on the path at all, but a header of a layer above.
#include "left.h"
