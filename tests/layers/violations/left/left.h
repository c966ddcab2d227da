#pragma once
#include "base.h"
