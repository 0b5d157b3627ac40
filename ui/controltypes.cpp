#include "ui/controltypes.h"
