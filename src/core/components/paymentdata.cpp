// The payment form's bank list and enabling rules.
#include "core/components/paymentdata.h"

#include <algorithm>

namespace qz {

QString bankStatement()
{
    return QStringLiteral("SELECT Argumento, Funcion FROM PARAM WHERE Numero='004'");
}

std::vector<Bank> loadBanks(Database &db)
{
    const QueryResult rows = db.query(bankStatement());
    std::vector<Bank> banks;
    for (int r = 0; r < rows.rowCount(); ++r) {
        const QString code = rows.at(r, 0).toText().trimmed().left(2);
        if (code == u"00")
            continue;
        banks.push_back({code, rows.at(r, 1).toText().left(36).trimmed()});
    }
    // The statement has no order; the list shows the banks by code whatever the engine returns.
    std::stable_sort(banks.begin(), banks.end(),
                     [](const Bank &a, const Bank &b) { return a.code < b.code; });
    return banks;
}

QString bankListText(const Bank &bank)
{
    return bank.code + QStringLiteral(" - ") + bank.name;
}

bool isChequeNumberText(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool PaymentState::controlsEnabled() const
{
    return enabledText_.compare(u"True", Qt::CaseInsensitive) == 0;
}

bool PaymentState::chequeFieldsEnabled() const
{
    return controlsEnabled() && paymentType_ == chequeType();
}

} // namespace qz
