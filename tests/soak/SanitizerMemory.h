#pragma once

#include "ClientHarness.h"

// AddressSanitizer keeps freed memory aside (up to 256 MiB) to catch late uses of it, so the
// resident memory of a sanitized program grows with everything it ever freed until that
// quarantine is full. With a small cap it still catches uses shortly after a free, and the
// memory of the soak tests' programs becomes comparable over time, give or take the cap.
#ifdef __SANITIZE_ADDRESS__
inline constexpr char QuarantineOption[] = "quarantine_size_mb=4";
#endif

// The memory growth a check allows, in KiB: as given in the normal build; in the sanitizer
// build twice that (red zones around every block and their shadow at least double the
// footprint of small allocations) plus the quarantine.
inline qint64 memoryAllowanceKiB(qint64 normalKiB)
{
#ifdef __SANITIZE_ADDRESS__
    return 2 * normalKiB + 4 * 1024;
#else
    return normalKiB;
#endif
}

// Gives the clients the harness starts from now on the capped quarantine.
inline void capQuarantine([[maybe_unused]] ClientHarness &harness)
{
#ifdef __SANITIZE_ADDRESS__
    harness.setClientVariable(QStringLiteral("ASAN_OPTIONS"), qEnvironmentVariable("ASAN_OPTIONS") +
                                                                  QLatin1Char(':') +
                                                                  QLatin1String(QuarantineOption));
#endif
}
