// The fixture of the tests on a declaration model: a fresh installation with the form module
// installed, the clock pinned to 1 June 2026, scripted messages, and models opened the way
// the declaration window opens them.
#pragma once

#include "core/data/clock.h"
#include "core/declaration/declarationmodel.h"
#include "support/modelsupport.h"
#include "support/moduleinstall.h"
#include "support/scriptedmessenger.h"

#include <gtest/gtest.h>

#include <memory>

namespace qz::test {

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString(); }

    // A new declaration for the user, as "&Nueva" opens it.
    std::unique_ptr<DeclarationModel> newModel(const QString &user = QStringLiteral("USUARIO0"))
    {
        auto m = std::make_unique<DeclarationModel>(db_, messages_);
        m->setRun({0, user, false, QString(), QString()});
        m->open();
        return m;
    }
    // A stored declaration, as "&Modificar" opens it.
    std::unique_ptr<DeclarationModel> storedModel(const QString &ruc, const QString &razon,
                                                  const QString &periodo)
    {
        auto m = std::make_unique<DeclarationModel>(db_, messages_);
        m->setRun({1, QString(), false, QString(), QString()});
        m->open({ruc, razon, periodo, QString()});
        return m;
    }

    // A whole consistent declaration of 2009 typed on a new model for the taxpayer at index
    // in the list (the first one by default).
    std::unique_ptr<DeclarationModel> typedDeclaration(int index = 0)
    {
        auto m = newModel();
        EXPECT_TRUE(typeWholeDeclaration(*m, index));
        return m;
    }

    PinnedClock clock_{QDateTime(QDate(2026, 6, 1), QTime(10, 0))};
    ModuleInstall inst_;
    Database &db_ = inst_.db();
    ScriptedMessenger messages_;
};

} // namespace qz::test
