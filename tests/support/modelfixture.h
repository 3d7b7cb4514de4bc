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
        m->chooseTaxpayer(index);
        m->setField(Field::Periodo, "2009");
        m->setField(Field::Telefono, "4455667");
        for (Answer a : {Answer::Rectifica, Answer::Liquid, Answer::Reorg, Answer::Coop}) {
            m->chooseAnswer(a, 0);
        }
        m->setText(101, "2,500,000"); // as the box shows it after the user leaves it
        m->setText(160, "1");
        m->setText(180, "6,000");
        m->setPaymentType("E");
        EXPECT_TRUE(chooseRepresentativeTypeCode(*m, "01"));
        m->setText(226, "12345678");
        m->setField(Field::ApellidoRepresentante, "DIAZ");
        return m;
    }

    PinnedClock clock_{QDateTime(QDate(2026, 6, 1), QTime(10, 0))};
    ModuleInstall inst_;
    Database &db_ = inst_.db();
    ScriptedMessenger messages_;
};

} // namespace qz::test
