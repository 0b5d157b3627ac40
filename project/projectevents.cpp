#include "project/projectevents.h"

TProjectEvents& ProjectEvents()
{
    static TProjectEvents events;
    return events;
}
