// The values the management dialogs read from their lists' rows.
#include "core/management/listrow.h"

#include "core/data/format.h"

namespace qz {

namespace {

QString text(const ListRow &row, int column)
{
    return row.at(column).toText();
}

QString trimmed(const ListRow &row, int column)
{
    return row.at(column).toText().trimmed();
}

} // namespace

StatusFields rowStatus(const ListRow &row, const QString &formulario)
{
    return {trimmed(row, registeredcol::kRuc), trimmed(row, registeredcol::kNombre),
            trimmed(row, registeredcol::kPeriodo), formulario};
}

StatusFields FrmContAbrirSalirStatus(const ListRow *row, const QString &formulario)
{
    return {QString(), QString(), row ? text(*row, registeredcol::kPeriodo) : QString(),
            formulario};
}

StatusFields FrmContAbrirEnvSalirStatus(const ListRow *row, const QString &formulario)
{
    // Kept as defined: the host gives the form code and the period in swapped places here.
    return {QString(), QString(), formulario, row ? trimmed(*row, sentcol::kPeriodo) : QString()};
}

RegisteredOpening registeredOpening(const ListRow &row)
{
    return {text(row, registeredcol::kRuc), text(row, registeredcol::kNombre),
            text(row, registeredcol::kPeriodo)};
}

SentOpening sentOpening(const ListRow &row)
{
    return {
        trimmed(row, sentcol::kRuc), trimmed(row, sentcol::kNombre),  true,
        text(row, sentcol::kCorrel), trimmed(row, sentcol::kControl), text(row, sentcol::kPeriodo),
        text(row, sentcol::kNorden)};
}

RecoverySource recoverySource(const ListRow &row)
{
    return {text(row, sentcol::kRuc), text(row, sentcol::kNombre), text(row, sentcol::kNorden),
            hostDateText(row.at(sentcol::kFecEnv))};
}

SentDeclaration recoveryTarget(const ListRow &row, const QString &formulario)
{
    return {formulario, trimmed(row, sentcol::kRuc), trimmed(row, sentcol::kPeriodo),
            trimmed(row, sentcol::kCorrel)};
}

QString hostDateText(const Value &value)
{
    if (value.kind() == Value::Kind::Date) {
        return formatDate(value.toDate(), QString());
    }
    return value.toText().trimmed();
}

DialogMessage listLoadErrorBox(const DbError &error)
{
    return {MessageIcon::Critical, QStringLiteral("Error"),
            error.description() + u'\n' + u' ' + QString::number(error.number())};
}

} // namespace qz
