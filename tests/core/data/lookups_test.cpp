// User type, error texts and PARAM lookups on a fresh host installation.
#include "core/data/lookups.h"
#include "support/tempinstall.h"

#include <gtest/gtest.h>

namespace {

TEST(Lookups, UserTypeDefaultsToOne)
{
    qz::test::TempInstall inst;
    ASSERT_TRUE(inst.ok()) << inst.message().toStdString();
    qz::Database db = inst.open();
    db.execute("DELETE * FROM CLAVES WHERE Usuario='D''Acosta'");
    db.execute("INSERT INTO CLAVES (Usuario, Tipo) VALUES ('D''Acosta', '0')");
    EXPECT_EQ(qz::userType(db, "D'Acosta"), "0");
    EXPECT_EQ(qz::userType(db, "d'acosta"), "0"); // host names ignore case
    EXPECT_EQ(qz::userType(db, "NADIE"), "1");
    EXPECT_EQ(qz::userType(db, "x' OR '1'='1"), "1");
}

TEST(Lookups, ErrorTextUsesFourDigits)
{
    qz::test::TempInstall inst;
    ASSERT_TRUE(inst.ok());
    qz::Database db = inst.open();
    db.execute("DELETE * FROM ERROR WHERE CodError='0151'");
    db.execute("INSERT INTO ERROR (CodError, DescError) VALUES ('0151', 'Grabado.')");
    EXPECT_EQ(qz::errorText(db, 151), "Grabado.");
    EXPECT_EQ(qz::errorText(db, 9999), "");
}

TEST(Lookups, ParamAndTheBuiltInRucRecord)
{
    qz::test::TempInstall inst;
    ASSERT_TRUE(inst.ok());
    qz::Database db = inst.open();
    const QString builtin = qz::builtinRucRecord();
    ASSERT_EQ(builtin.size(), 130);
    EXPECT_EQ(qz::fixedField(builtin, 46, 2), "11");
    EXPECT_EQ(qz::fixedField(builtin, 130, 1), "0");
    EXPECT_EQ(qz::fixedField(builtin, 1, 30).trimmed(), "REG. UNICO DE CONTRIBUYENTES");

    db.execute("DELETE * FROM PARAM WHERE Numero='044' AND Argumento='6'");
    EXPECT_FALSE(qz::paramFuncion(db, "044", "6").has_value());
    EXPECT_EQ(qz::documentTypeRecord(db, "6"), builtin);
    EXPECT_EQ(qz::documentTypeRecord(db, "Z"), "");

    db.execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES "
               "('044','6','OTRO','001')");
    EXPECT_EQ(qz::documentTypeRecord(db, "6"), "OTRO");
    EXPECT_EQ(qz::fixedField("abc", 0, 2), "");
    EXPECT_EQ(qz::fixedField("abc", 3, 5), "c");
}

} // namespace
