#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct xcb_connection_t;

// The driver's own connection to the X server of a benchmark: it sees every top-level window
// mapped (SubstructureNotify on the root window, so the moment is the server's, not the
// program's own idea of "shown") and types keys through XTest as a keyboard would, into a
// window it gives the input focus first (there is no window manager to do that).
class XServerWatch
{
public:
    XServerWatch() = default;
    ~XServerWatch();
    XServerWatch(const XServerWatch &) = delete;
    XServerWatch &operator=(const XServerWatch &) = delete;

    // Connects to display (":N"); false with errorText().
    bool open(const QString &display);
    QString errorText() const { return m_error; }

    // Waits for the next top-level window whose title contains title to be mapped; its
    // window id and the CLOCK_MONOTONIC ns at which the driver read the MapNotify, or
    // window 0 on time-out. Maps of other windows are passed over.
    struct Mapped
    {
        std::uint32_t window = 0;
        std::uint64_t ns = 0;
    };
    Mapped waitForMap(const QByteArray &title, int timeoutMs);
    // Drops the events already received (windows of an earlier step).
    void drain();
    // Gives window the input focus, then presses and releases Return in it; the ns just
    // before the key press is sent.
    std::uint64_t pressReturn(std::uint32_t window);

private:
    QByteArray title(std::uint32_t window);

    xcb_connection_t *m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint8_t m_returnKeycode = 0;
    QString m_error;
};
