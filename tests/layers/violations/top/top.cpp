#include "top.h"
#include "left.h"
#include "right.h"
#include "base.h"
#include <QString>
