#include "skin/controltypes.h"
