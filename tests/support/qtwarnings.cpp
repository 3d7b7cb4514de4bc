// The failing message handler of the GUI tests.
#include "support/qtwarnings.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>

namespace qz::test {

namespace {

QMutex gMutex;
QStringList gExpected;
QtMessageHandler gPrevious = nullptr;

// Messages of the offscreen platform plugin itself, not of our code: it cannot do what a real
// window system does and says so.
bool platformNoise(const QString &message)
{
    static const char *const kNoise[] = {
        "This plugin does not support",
    };
    for (const char *noise : kNoise) {
        if (message.contains(QLatin1String(noise))) {
            return true;
        }
    }
    return false;
}

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (gPrevious) {
        gPrevious(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
    if (type == QtDebugMsg || type == QtInfoMsg || platformNoise(message)) {
        return;
    }
    {
        const QMutexLocker lock(&gMutex);
        for (const QString &part : gExpected) {
            if (message.contains(part)) {
                return;
            }
        }
    }
    ADD_FAILURE() << "unexpected Qt message: " << message.toStdString();
}

} // namespace

void failOnQtWarnings()
{
    gPrevious = qInstallMessageHandler(handler);
}

ExpectedQtWarning::ExpectedQtWarning(const QString &part) : part_(part)
{
    const QMutexLocker lock(&gMutex);
    gExpected.append(part_);
}

ExpectedQtWarning::~ExpectedQtWarning()
{
    const QMutexLocker lock(&gMutex);
    gExpected.removeOne(part_);
}

} // namespace qz::test
