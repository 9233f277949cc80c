/* The floor of the round-trip figures: a blocking C client and a blocking C echo server in
 * two processes over loopback, framing texts with a NUL as the client does. The server sends
 * every text back as it arrived; the client times each round trip.
 *
 * Usage: ondtpc-bench-echo COUNT TEXT [WARMUP]
 * Prints "<p50 ns> <p99 ns> <server CPU ns>" of COUNT round trips after WARMUP untimed ones;
 * the server's CPU time over the timed round trips is the floor of the client's, whose role
 * it plays. */
#include "nulpeer.h"

#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

enum { TimeoutMs = 10000 };

/* Nanoseconds the process (one thread) has spent on a CPU, from its schedstat, which counts in
 * nanoseconds where /proc/PID/stat counts in 10 ms ticks; 0 when it cannot be read. */
static uint64_t cpu_ns(pid_t pid)
{
    char path[64];
    unsigned long long ns = 0;
    snprintf(path, sizeof path, "/proc/%d/schedstat", (int)pid);
    FILE *file = fopen(path, "r");
    if (!file)
        return 0;
    if (fscanf(file, "%llu", &ns) != 1)
        ns = 0;
    fclose(file);
    return (uint64_t)ns;
}

static int serve(int listener)
{
    struct nul_reader reader;
    static char text[65536];
    int fd = nul_accept(listener, TimeoutMs);
    if (fd < 0)
        return 1;
    nul_reader_init(&reader, fd);
    for (;;) {
        long length = nul_read(&reader, text, sizeof text, TimeoutMs);
        if (length < 0)
            return errno == ECONNRESET ? 0 : 1;
        if (nul_send(fd, text, (size_t)length) < 0)
            return 1;
    }
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s COUNT TEXT [WARMUP]\n", argv[0]);
        return 2;
    }
    long count = strtol(argv[1], NULL, 10);
    const char *text = argv[2];
    long warmup = argc > 3 ? strtol(argv[3], NULL, 10) : 0;
    if (count <= 0 || warmup < 0) {
        fprintf(stderr, "COUNT must be positive\n");
        return 2;
    }

    int listener = nul_listen("127.0.0.1", 0);
    if (listener < 0) {
        perror("listen");
        return 1;
    }
    unsigned short port = nul_local_port(listener);
    pid_t server = fork();
    if (server < 0) {
        perror("fork");
        return 1;
    }
    if (server == 0)
        _exit(serve(listener));
    close(listener);

    int status = 1;
    uint64_t *latencies = calloc((size_t)(count + warmup), sizeof *latencies);
    int fd = nul_connect("127.0.0.1", port);
    struct nul_reader reader;
    if (fd >= 0 && latencies) {
        nul_reader_init(&reader, fd);
        /* The server waits for the next text whenever its reply has been read, so its time
         * between the two reads is that of the timed round trips alone. */
        int failed = nul_round_trips(fd, &reader, text, text, warmup, latencies, TimeoutMs);
        uint64_t server_cpu = cpu_ns(server);
        if (failed == 0)
            failed = nul_round_trips(fd, &reader, text, text, count, latencies, TimeoutMs);
        if (failed == 0) {
            server_cpu = cpu_ns(server) - server_cpu;
            uint64_t p50 = nul_quantile(latencies, count, 0.50);
            uint64_t p99 = nul_quantile(latencies, count, 0.99);
            printf("%llu %llu %llu\n", (unsigned long long)p50, (unsigned long long)p99,
                   (unsigned long long)server_cpu);
            status = 0;
        } else {
            perror("round trip");
        }
    } else {
        perror("connect");
    }
    if (fd >= 0)
        close(fd);
    free(latencies);
    int server_status = 0;
    if (waitpid(server, &server_status, 0) < 0 || !WIFEXITED(server_status) ||
        WEXITSTATUS(server_status) != 0) {
        kill(server, SIGKILL);
        fprintf(stderr, "the echo server failed\n");
        status = 1;
    }
    return status;
}
