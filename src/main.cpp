// The entry point: everything the client does is built and run by its composition root.
#include "shell/ClientStartup.h"
#include "shell/InformationOptions.h"

int main(int argc, char **argv)
{
    if (const std::optional<int> exitCode = InformationOptions::answer(argc, argv, stdout))
        return *exitCode;
    ClientStartup startup(argc, argv);
    return startup.run();
}
