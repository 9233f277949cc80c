#include "shell/InformationOptions.h"

#include "platform/BuildVersionInfo.h"

#include <cstring>

std::optional<int> InformationOptions::answer(int argc, const char *const *argv, std::FILE *out)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(usageText(), out);
            return std::fflush(out) == 0 ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            const BuildVersionInfo version;
            std::fprintf(out, "ondtpc (%s) %s\n%s, %s. All rights reserved.\n",
                         qPrintable(version.fileDescription()),
                         qPrintable(BuildVersionInfo::releaseVersion()),
                         qPrintable(version.copyright()), qPrintable(version.companyName()));
            return std::fflush(out) == 0 ? 0 : 1;
        }
    }
    return std::nullopt;
}

const char *InformationOptions::usageText()
{
    return "Usage: ondtpc [-locale=CODE] [SHARED-PRINTER...]\n"
           "       ondtpc --version | --help\n"
           "\n"
           "Shows the dialogs of the Print Service's print jobs in this desktop session and\n"
           "answers the Print Service, which it finds through the print spooler's printer\n"
           "described as \"Brindlecore Virtual Printer\" (see ondtpc-setup(8)), on port 21326.\n"
           "\n"
           "  -locale=CODE, -dialect=CODE  the language of the dialogs: en_us (default),\n"
           "                               fr_ca or es_us\n"
           "  SHARED-PRINTER               a shared printer to connect while the client runs:\n"
           "                               \\\\server\\share, //server/share or\n"
           "                               ipp://server/printers/share\n"
           "  --version                    print the version and exit\n"
           "  --help                       print this text and exit\n"
           "\n"
           "Only one client runs per user; a second start ends at once. See ondtpc(1).\n";
}
