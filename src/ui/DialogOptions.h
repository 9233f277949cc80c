#pragma once

#include <Qt>

// How a dialog is built, named at the call site:
// BcBaseDialog(parent, {.timeoutMs = DialogOptions::NoTimeout, .showNoticeLabel = false}).
struct DialogOptions
{
    // Customised frame with title and no close box; Escape, the time-out and the dialog's
    // own buttons close it.
    static constexpr Qt::WindowFlags DialogFlags =
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;
    // The time-out of DialogSettings, read whenever the timer starts.
    static constexpr int SharedTimeout = 0;
    static constexpr int NoTimeout = -1;

    // The inactivity time-out: SharedTimeout, NoTimeout (or any negative value) or a period.
    int timeoutMs = SharedTimeout;
    // Shown only when there are at least two languages to choose from.
    bool showLanguageButton = true;
    bool showNoticeLabel = true;
    // Around the content, the language button and the notice line.
    int border = 5;
    Qt::WindowFlags flags = DialogFlags;
};
