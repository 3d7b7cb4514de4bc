// A running test_window_owner: a Qt program with one top-level window of a given title on a
// private X server, shown or made but never mapped; killed when destroyed. QZ_WINDOW_OWNER
// names the program (the test targets that use this define it).
#pragma once

#include "support/xvfbserver.h"

#include <QProcess>
#include <QString>

namespace qz::test {

// A running test_window_owner; killed when destroyed.
class WindowOwner final {
public:
    WindowOwner(const XvfbServer &server, const QString &title, bool hidden,
                const QString &program = QStringLiteral(QZ_WINDOW_OWNER))
    {
        process_.setProcessEnvironment(server.environment());
        QStringList arguments{title};
        if (hidden) {
            arguments << QStringLiteral("--hidden");
        }
        process_.start(program, arguments);
        QByteArray out;
        while (!out.contains("ready\n") && process_.waitForReadyRead(20000)) {
            out += process_.readAllStandardOutput();
        }
        ready_ = out.contains("ready\n");
        if (!ready_) {
            error_ = QString::fromLocal8Bit(process_.readAllStandardError());
        }
    }
    ~WindowOwner()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }
    bool ready() const { return ready_; }
    QString error() const { return error_; }

private:
    QProcess process_;
    bool ready_ = false;
    QString error_;
};

} // namespace qz::test
