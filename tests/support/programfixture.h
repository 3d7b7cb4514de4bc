// The fixture of the tests on declchk and declrep: a fresh installation with the module, the
// clock pinned to 4 March 2026 09:08:07 (the time their report headers show), scripted
// messages and the taxpayer the test works on.
#pragma once

#include "core/data/clock.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"

#include <gtest/gtest.h>

namespace qz::test {

class ProgramTest : public ::testing::Test {
protected:
    PinnedClock clock_{QDateTime(QDate(2026, 3, 4), QTime(9, 8, 7))};
    ModuleInstall inst_;
    Database &db_ = inst_.db();
    QString ruc_;
    ScriptedMessenger messages_;
};

} // namespace qz::test
