#include "core/appevents.h"

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    return RunGuarded([] { return 0; });
}
