#include "tests/common/modaldriver.h"
