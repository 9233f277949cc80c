// A program for the process-manager tests: it notes its pid in the file named by
// ONDTPC_PROBE_MARK (when set) and then sleeps, 30 s unless a number of seconds is given.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (const char *mark = std::getenv("ONDTPC_PROBE_MARK")) {
        if (FILE *file = std::fopen(mark, "a")) {
            std::fprintf(file, "%ld\n", static_cast<long>(getpid()));
            std::fclose(file);
        }
    }
    const unsigned seconds = argc > 1 ? static_cast<unsigned>(std::atoi(argv[1])) : 30u;
    sleep(seconds);
    return 0;
}
