#include "core/coreobjects.h"

TCoreObjects& Core()
{
    static TCoreObjects objects;
    return objects;
}
