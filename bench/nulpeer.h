#pragma once

/* Blocking loopback sockets with NUL-framed texts, shared by the C echo pair and the
 * benchmark driver so that the client and its floor are driven by the same code. Every wait
 * is bounded by a time-out; a failure returns -1 with errno set (ETIMEDOUT for a time-out). */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Texts read from one connection: a buffer so that many texts arriving in one segment cost
 * one read. */
struct nul_reader
{
    int fd;
    size_t head;
    size_t tail;
    char bytes[65536];
};

uint64_t nul_now_ns(void);

/* A listening socket on address:port (port 0 picks one); -1 on failure. */
int nul_listen(const char *address, unsigned short port);
unsigned short nul_local_port(int fd);
/* Waits up to timeout_ms for a connection. */
int nul_accept(int listener, int timeout_ms);
int nul_connect(const char *address, unsigned short port);

/* Writes all bytes of the text and its NUL. */
int nul_send(int fd, const char *text, size_t length);
int nul_send_all(int fd, const void *bytes, size_t length);

void nul_reader_init(struct nul_reader *reader, int fd);
/* The next text into out (NUL-terminated, at most capacity - 1 bytes kept); returns its full
 * length, 0 for the empty text, -1 on error, end of stream or time-out. */
long nul_read(struct nul_reader *reader, char *out, size_t capacity, int timeout_ms);

/* Sends text and waits for its reply count times; each round trip's nanoseconds go to
 * latencies. A reply other than expected stops the loop: -1 with errno EPROTO. */
int nul_round_trips(int fd, struct nul_reader *reader, const char *text, const char *expected,
                    long count, uint64_t *latencies, int timeout_ms);

/* The q-quantile (0..1, nearest rank) of the values, which are sorted in place. */
uint64_t nul_quantile(uint64_t *values, long count, double q);

#ifdef __cplusplus
}
#endif
