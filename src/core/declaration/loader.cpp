// The loader: a stored declaration back into the model, row by row, then the payment data
// of its header; and the box-110 assistant amounts.
#include "core/declaration/declarationmodel.h"

#include "core/data/format.h"
#include "core/data/numbertext.h"
#include "core/data/sqltext.h"
#include "core/declaration/boxes.h"
#include "core/declaration/boxvalue.h"
#include "core/declaration/declarationkey.h"

#include <cmath>

namespace qz {

namespace {

// The numbers shown with their sign in parentheses.
bool isSignedBox(int n)
{
    switch (n) {
    case 105:
    case 107:
    case 119:
    case 123:
    case 124:
    case 125:
    case 127:
    case 128:
    case 129:
    case 136:
    case 138:
    case 142:
    case 143:
    case 144:
    case 150:
    case 353:
    case 355:
        return true;
    default:
        return false;
    }
}

} // namespace

bool DeclarationModel::CargaDeclaracion()
{
    const QString keys =
        run_.bHistorico ? sentDeclarationKey(taxpayerRuc(), sPeriodo_, sFormulario_, run_.sCorrel)
                        : declarationKey(taxpayerRuc(), sPeriodo_, sFormulario_);
    bool found = false;
    try {
        const QueryResult rows = db_.query((run_.bHistorico ? QStringLiteral("SELECT * FROM HDET")
                                                            : QStringLiteral("SELECT * FROM DET")) +
                                           keys);
        const int casilla = rows.indexOf(QStringLiteral("Casilla"));
        const int valor = rows.indexOf(QStringLiteral("i_valor"));
        for (int i = 0; i < rows.rowCount(); ++i) {
            CargaCasilla(rows.at(i, casilla).toText().trimmed(),
                         rows.at(i, valor).toText().trimmed());
        }
        found = rows.rowCount() > 0;
        const QueryResult header =
            db_.query((run_.bHistorico ? QStringLiteral("SELECT * FROM HCAB")
                                       : QStringLiteral("SELECT * FROM CAB")) +
                      keys);
        if (!header.isEmpty()) {
            const Value banco = header.at(0, QStringLiteral("bcolibrad"));
            if (!banco.isNull()) {
                payment_.setBankCode(banco.toText());
            }
            payment_.setChequeNumber(header.at(0, QStringLiteral("nrocheque")).toText().trimmed());
            emit paymentChanged();
        }
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
    return found;
}

void DeclarationModel::CargaCasilla(const QString &casilla, const QString &valor)
{
    const int n = static_cast<int>(val(casilla));
    if (isIgnoredOnLoad(n)) {
        return;
    }
    switch (n) {
    case det::kRectifica:
    case det::kRectificaAlias:
    case det::kRectifica2:
        storeAnswerCode(Answer::Rectifica, valor);
        return;
    case det::kAjuste:
        storeAnswerCode(Answer::Ajuste, valor);
        return;
    case det::kLiquid:
        storeAnswerCode(Answer::Liquid, valor);
        return;
    case det::kReorg:
        storeAnswerCode(Answer::Reorg, valor);
        return;
    case det::kCoop:
        storeAnswerCode(Answer::Coop, valor);
        return;
    case det::kPeriodo:
        setField(Field::Periodo, valor);
        return;
    case det::kTelefono:
        setField(Field::Telefono, valor);
        return;
    case det::kFechaReorg:
        setField(Field::FechaReorg,
                 valor.mid(6, 2) + u'/' + valor.mid(4, 2) + u'/' + valor.mid(0, 4));
        return;
    case det::kCantEmpresas:
        setField(Field::CantEmpresas, valor);
        return;
    case det::kTipoPago:
        setPaymentType(valor);
        return;
    case det::kNumOrdenCheck:
        setField(Field::NumOrdenCheck, valor);
        return;
    case det::kNombreContador:
        setField(Field::NombreContador, valor);
        return;
    case det::kApellidoContador:
        setField(Field::ApellidoContador, valor);
        return;
    case det::kApellidoRepresentante:
        setField(Field::ApellidoRepresentante, valor);
        return;
    case det::kNombreRepresentante:
        setField(Field::NombreRepresentante, valor);
        return;
    case det::kTipoReorg:
        for (int i = 0; i < reorgTypes_.size(); ++i) {
            if (reorgTypes_[i].left(1) == valor.left(1) && !valor.isEmpty()) {
                chooseReorgType(i);
                break;
            }
        }
        return;
    default:
        break;
    }
    // A number the window has no field for is skipped.
    if (!isWindowBox(n)) {
        return;
    }
    QString shown;
    if (isSignedBox(n)) {
        shown = reformat(valor, kSignedPattern);
    } else if (n == 110) {
        shown = reformat(valor, kRatioPattern);
    } else if (n == 208) {
        shown = valor.isEmpty() ? QString() : patternText(std::fabs(val(valor)), "########");
    } else if (n == 209 || n == 211 || n == 212 || n == 225 || n == 226) {
        shown = valor;
    } else {
        shown = reformat(valor, kResultPattern);
        if (n == 160) {
            raw160_ = valor;
        }
    }
    setText(n, shown);
}

void DeclarationModel::CoefIni()
{
    try {
        const QueryResult r = db_.query(
            QStringLiteral("Select * From F731PORCENTAJE Where ") + QStringLiteral(" DOC_ID_D='") +
            sqlText(taxpayerRuc()) + u'\'' + QStringLiteral(" AND FORMULARIO='") +
            sqlText(sFormulario_) + u'\'' + QStringLiteral(" AND TIP_DOC_D=6 and periodo = '") +
            sqlText(field(Field::Periodo)) + u'\'');
        for (int i = 0; i < r.rowCount(); ++i) {
            mtoDet_ = r.at(i, QStringLiteral("mto_det")).toText();
            mtoNet_ = r.at(i, QStringLiteral("mto_net")).toText();
        }
    } catch (const DbError &e) {
        show(MessageIcon::Critical, e.boxText());
    }
}

} // namespace qz
