// Acting on a window that a command opens modally: the command blocks in the window's exec(),
// so a timer watches for it. Gives up after five seconds, so a window that never opens cannot
// reach the next test.
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

namespace qz::test {

// Runs action once on the first window of type Window that becomes the active modal window.
template <typename Window> void whenModal(std::function<void(Window &)> action)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, tries] {
        auto *w = qobject_cast<Window *>(QApplication::activeModalWidget());
        if (w || ++*tries > 500) {
            timer->stop();
            timer->deleteLater();
        }
        if (w) {
            action(*w);
        }
    });
    timer->start();
}

} // namespace qz::test
