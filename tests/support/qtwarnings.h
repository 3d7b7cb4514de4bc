// Qt's warnings as test failures: a GUI test program installs a handler that fails the running
// test on any warning, critical or fatal message from Qt, unless the test announced it with an
// ExpectedQtWarning. A warning is how Qt reports a broken connection, a bad index in a model
// or a layout set twice: all of them faults that would otherwise pass unseen.
#pragma once

#include <QString>

namespace qz::test {

// Installs the failing handler (the GUI tests' main calls it once).
void failOnQtWarnings();

// While it lives, warnings that contain `part` are printed but do not fail the test.
class ExpectedQtWarning final {
public:
    explicit ExpectedQtWarning(const QString &part);
    ~ExpectedQtWarning();
    ExpectedQtWarning(const ExpectedQtWarning &) = delete;
    ExpectedQtWarning &operator=(const ExpectedQtWarning &) = delete;

private:
    QString part_;
};

} // namespace qz::test
