#include "top.h"
#include "left.h"
#include "rightface.h"
// Behind right's face: found only through a path into its folder.
#include "right.h"
#include "base.h"
#include <QString>
