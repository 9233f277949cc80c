#pragma once

#include <cstdio>
#include <optional>

// `--version` and `--help`: answered from the command line alone, before the application
// object exists, so asking never needs a display, never takes the single-instance guard
// and never writes a log.
class InformationOptions
{
public:
    // The exit code when an argument asked for information (which has then been written to
    // `out`); nothing when the client should start.
    static std::optional<int> answer(int argc, const char *const *argv, std::FILE *out);

    static const char *usageText();
};
