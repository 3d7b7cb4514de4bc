// The whole declaration the save benchmarks save: on a new model whose taxpayer and exercise
// are chosen, the header fields, the answers, a reorganization with three companies, the boxes,
// the representative and the payment.
#pragma once

#include "core/data/database.h"
#include "core/declaration/declarationmodel.h"
#include "support/modelsupport.h"

#include <QString>

#include <utility>

// Empty when the declaration is ready to be saved, else why not.
inline QString fillFullDeclaration(qz::Database &db, qz::DeclarationModel &m)
{
    m.setField(qz::Field::Telefono, QStringLiteral("4455667"));
    for (qz::Answer a : {qz::Answer::Rectifica, qz::Answer::Liquid, qz::Answer::Coop}) {
        m.chooseAnswer(a, 0);
    }
    m.chooseAnswer(qz::Answer::Reorg, 1);
    m.chooseReorgType(0);
    m.setField(qz::Field::FechaReorg, QStringLiteral("15/03/2009"));
    m.setField(qz::Field::CantEmpresas, QStringLiteral("3"));
    for (int i = 1; i <= 3; ++i) {
        db.execute(QStringLiteral("INSERT INTO TMPF731EMPRESAS (num_doc_emp, des_razon, "
                                  "mto_activos, porc_part, mto_adic, mto_deduc, mto_base_imp, "
                                  "mto_imp_pag) VALUES ('2010000000%1', 'EMPRESA', '2000000', "
                                  "'', '0', '0', '2000000', '4000')")
                       .arg(i));
    }
    const std::pair<int, const char *> boxes[] = {
        {101, "2,500,000"}, {104, "1,000"},       {142, "(100)"}, {144, "(200)"},
        {145, "33"},        {160, "1"},           {180, "6,000"}, {225, "01"},
        {226, "12345678"},  {208, "20100079705"}, {209, "01"},    {211, "0123"}};
    for (const auto &[box, value] : boxes) {
        m.setText(box, QString::fromLatin1(value));
    }
    if (!qz::test::chooseRepresentativeTypeCode(m, QStringLiteral("01"))) {
        return QStringLiteral("no document type 01");
    }
    m.setPaymentType(QStringLiteral("E"));
    return QString();
}
