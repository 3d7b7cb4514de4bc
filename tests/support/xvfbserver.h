// A private X server (Xvfb) for one test: the test's windows, and the windows of the
// programs it starts, live on a display no one else uses.
//
// The server picks a free display number itself (-displayfd) and accepts local connections
// only (-nolisten tcp); it does not reset when its last client leaves. The test program keeps its
// own environment; children get DISPLAY through environment().
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace qz::test {

class XvfbServer final {
public:
    // Starts Xvfb and waits (up to timeoutMs) until it accepts connections.
    explicit XvfbServer(int timeoutMs = 20000);
    // Stops the server (SIGTERM, then SIGKILL when it does not end within 5 s).
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    // True when the server runs and accepts connections; errorString() says why not.
    bool isRunning() const { return running_; }
    QString errorString() const { return error_; }

    // The display name, ":N"; empty when the server did not start.
    QByteArray display() const { return display_; }

    // base with DISPLAY set to this server and QT_QPA_PLATFORM to "xcb", for a child that
    // shows windows here.
    QProcessEnvironment
    environment(QProcessEnvironment base = QProcessEnvironment::systemEnvironment()) const;

    // Stops the server now; isRunning() is false afterwards.
    void stop();

private:
    QProcess process_;
    QByteArray display_;
    QString error_;
    bool running_ = false;
};

} // namespace qz::test
