// Starting and stopping a private Xvfb.
#include "support/xvfbserver.h"

#include <QDeadlineTimer>

#include <xcb/xcb.h>

namespace qz::test {

namespace {

// True once a client can connect to display.
bool acceptsConnections(const QByteArray &display)
{
    xcb_connection_t *conn = xcb_connect(display.constData(), nullptr);
    const bool ok = xcb_connection_has_error(conn) == 0;
    xcb_disconnect(conn);
    return ok;
}

} // namespace

XvfbServer::XvfbServer(int timeoutMs)
{
    // Xvfb writes the display number it took to descriptor 1 (our pipe) once it listens.
    // -noreset: otherwise the server resets whenever its last client leaves (our readiness
    // probe, a test's short connection), refusing connections for a moment and dropping the
    // root's properties.
    process_.setProgram(QStringLiteral("Xvfb"));
    process_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                           QStringLiteral("-noreset"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1280x1024x24")});
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start();
    if (!process_.waitForStarted(timeoutMs)) {
        error_ = QStringLiteral("cannot start Xvfb: %1").arg(process_.errorString());
        return;
    }
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray out;
    while (!out.contains('\n')) {
        if (deadline.hasExpired() || process_.state() != QProcess::Running) {
            error_ = QStringLiteral("Xvfb did not report a display number");
            stop();
            return;
        }
        process_.waitForReadyRead(100);
        out += process_.readAllStandardOutput();
    }
    bool isNumber = false;
    const int number = out.left(out.indexOf('\n')).trimmed().toInt(&isNumber);
    if (!isNumber) {
        error_ = QStringLiteral("Xvfb reported '%1'").arg(QString::fromLocal8Bit(out));
        stop();
        return;
    }
    display_ = ':' + QByteArray::number(number);
    while (!acceptsConnections(display_)) {
        if (deadline.hasExpired() || process_.state() != QProcess::Running) {
            error_ = QStringLiteral("Xvfb on %1 does not accept connections")
                         .arg(QString::fromLatin1(display_));
            stop();
            return;
        }
        process_.waitForFinished(50);
    }
    running_ = true;
}

XvfbServer::~XvfbServer()
{
    stop();
}

void XvfbServer::stop()
{
    running_ = false;
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QProcessEnvironment XvfbServer::environment(QProcessEnvironment base) const
{
    base.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display_));
    base.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return base;
}

} // namespace qz::test
