// The condition that names one declaration, with values that need quoting.
#include "core/declaration/declarationkey.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(DeclarationKey, TextAndQuoting)
{
    EXPECT_EQ(declarationKey("20100079705", "2009", "0731"),
              " WHERE DOC_ID_D='20100079705' AND TIP_DOC_D=6 AND PERIODO='2009' AND "
              "FORMULARIO='0731'");
    EXPECT_EQ(sentDeclarationKey("2010", "2009", "0731", "001"),
              " WHERE DOC_ID_D='2010' AND TIP_DOC_D=6 AND PERIODO='2009' AND FORMULARIO='0731' "
              "AND Correl='001'");
    // A quote in a value stays inside its literal.
    EXPECT_EQ(declarationKey("x' OR '1'='1", "2009", "07'31"),
              " WHERE DOC_ID_D='x'' OR ''1''=''1' AND TIP_DOC_D=6 AND PERIODO='2009' AND "
              "FORMULARIO='07''31'");
}

} // namespace
} // namespace qz
