// The fixture of the tests on a reorganization's companies: a fresh installation with the form
// module installed, the scratch table TMPF731EMPRESAS emptied, a declarant and two companies.
#pragma once

#include "core/components/textutility.h"
#include "core/data/database.h"
#include "support/moduleinstall.h"

#include <gtest/gtest.h>

namespace qz::test {

inline const QString kDeclarant = QStringLiteral("20100079705");
inline const QString kCompanyA = TextUtility::completeRuc(QStringLiteral("2060000001"));
inline const QString kCompanyB = TextUtility::completeRuc(QStringLiteral("2060000002"));

class CompanyTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst_.ok()) << inst_.message().toStdString();
        db_.execute(QStringLiteral("DELETE * FROM TMPF731EMPRESAS"));
    }
    // The rows of the scratch table.
    int rows()
    {
        return static_cast<int>(db_.scalar("SELECT COUNT(*) FROM TMPF731EMPRESAS").toInt());
    }

    ModuleInstall inst_;
    Database &db_ = inst_.db();
};

} // namespace qz::test
