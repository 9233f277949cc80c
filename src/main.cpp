// The entry point: everything the client does is built and run by its composition root.
#include "shell/ClientStartup.h"

int main(int argc, char **argv)
{
    ClientStartup startup(argc, argv);
    return startup.run();
}
