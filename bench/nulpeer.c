#define _GNU_SOURCE /* accept4 */
#include "nulpeer.h"

#include <arpa/inet.h>
#include <errno.h>
#include <math.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

uint64_t nul_now_ns(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (uint64_t)now.tv_sec * 1000000000u + (uint64_t)now.tv_nsec;
}

static int wait_for(int fd, short events, int timeout_ms)
{
    struct pollfd entry = {fd, events, 0};
    int ready;
    do {
        ready = poll(&entry, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0)
        errno = ETIMEDOUT;
    return ready > 0 ? 0 : -1;
}

int nul_listen(const char *address, unsigned short port)
{
    struct sockaddr_in where;
    int one = 1;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    memset(&where, 0, sizeof where);
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    if (inet_pton(AF_INET, address, &where.sin_addr) != 1) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(fd, (struct sockaddr *)&where, sizeof where) < 0 || listen(fd, 8) < 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

unsigned short nul_local_port(int fd)
{
    struct sockaddr_in where;
    socklen_t size = sizeof where;
    if (getsockname(fd, (struct sockaddr *)&where, &size) < 0)
        return 0;
    return ntohs(where.sin_port);
}

int nul_accept(int listener, int timeout_ms)
{
    if (wait_for(listener, POLLIN, timeout_ms) < 0)
        return -1;
    return accept4(listener, NULL, NULL, SOCK_CLOEXEC);
}

int nul_connect(const char *address, unsigned short port)
{
    struct sockaddr_in where;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    memset(&where, 0, sizeof where);
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    if (inet_pton(AF_INET, address, &where.sin_addr) != 1 ||
        connect(fd, (struct sockaddr *)&where, sizeof where) < 0) {
        close(fd);
        return -1;
    }
    return fd;
}

int nul_send_all(int fd, const void *bytes, size_t length)
{
    const char *next = bytes;
    while (length > 0) {
        ssize_t written = send(fd, next, length, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return -1;
        next += written;
        length -= (size_t)written;
    }
    return 0;
}

int nul_send(int fd, const char *text, size_t length)
{
    /* One write for text and NUL, as the client writes its replies. */
    char small[512];
    if (length < sizeof small) {
        memcpy(small, text, length);
        small[length] = '\0';
        return nul_send_all(fd, small, length + 1);
    }
    if (nul_send_all(fd, text, length) < 0)
        return -1;
    return nul_send_all(fd, "", 1);
}

void nul_reader_init(struct nul_reader *reader, int fd)
{
    reader->fd = fd;
    reader->head = 0;
    reader->tail = 0;
}

long nul_read(struct nul_reader *reader, char *out, size_t capacity, int timeout_ms)
{
    size_t length = 0;
    for (;;) {
        while (reader->head < reader->tail) {
            char byte = reader->bytes[reader->head++];
            if (byte == '\0') {
                if (capacity > 0)
                    out[length < capacity ? length : capacity - 1] = '\0';
                return (long)length;
            }
            if (length + 1 < capacity)
                out[length] = byte;
            ++length;
        }
        reader->head = 0;
        reader->tail = 0;
        ssize_t got = recv(reader->fd, reader->bytes, sizeof reader->bytes, MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (wait_for(reader->fd, POLLIN, timeout_ms) < 0)
                return -1;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = ECONNRESET;
            return -1;
        }
        reader->tail = (size_t)got;
    }
}

int nul_round_trips(int fd, struct nul_reader *reader, const char *text, const char *expected,
                    long count, uint64_t *latencies, int timeout_ms)
{
    size_t text_length = strlen(text);
    size_t expected_length = strlen(expected);
    char reply[4096];
    for (long i = 0; i < count; ++i) {
        uint64_t start = nul_now_ns();
        if (nul_send(fd, text, text_length) < 0)
            return -1;
        long length = nul_read(reader, reply, sizeof reply, timeout_ms);
        if (length < 0)
            return -1;
        latencies[i] = nul_now_ns() - start;
        if ((size_t)length != expected_length || memcmp(reply, expected, expected_length) != 0) {
            errno = EPROTO;
            return -1;
        }
    }
    return 0;
}

static int compare_u64(const void *a, const void *b)
{
    uint64_t x = *(const uint64_t *)a;
    uint64_t y = *(const uint64_t *)b;
    return x < y ? -1 : x > y;
}

uint64_t nul_quantile(uint64_t *values, long count, double q)
{
    if (count <= 0)
        return 0;
    qsort(values, (size_t)count, sizeof *values, compare_u64);
    long rank = (long)ceil(q * (double)count);
    if (rank < 1)
        rank = 1;
    if (rank > count)
        rank = count;
    return values[rank - 1];
}
