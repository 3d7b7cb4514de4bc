// The company dialog's logic: fields, formats, key rules, the tax of one company, the checks
// and the store into TMPF731EMPRESAS.
#include "core/validation/companyform.h"

#include "core/components/textutility.h"
#include "core/data/format.h"
#include "core/data/sqltext.h"
#include "core/data/transaction.h"
#include "core/declaration/taxscale.h"

namespace qz {

namespace {

const QString kEditPattern = QStringLiteral("###########0");
const QString kShowPattern = QStringLiteral("###,###,###,##0");
const QString kPercentPattern = QStringLiteral("##0.#0");
const QString kStorePattern = QStringLiteral("##############0");

constexpr int kAmountEditLimit = 12;
constexpr int kAmountShowLimit = 15;

bool isAmount(CompanyField f)
{
    return f == CompanyField::Activos || f == CompanyField::Adiciones ||
           f == CompanyField::Deducciones;
}

// The number an amount field stands for: its text as a plain whole number, read by Val (an
// empty text is 0).
Currency amountOf(const QString &text)
{
    return Currency::fromText(formatText(text, kEditPattern));
}

CompanyRefusal refusal(const char *message, CompanyField focus, bool onlyWhenEnabled = false)
{
    return {QString::fromUtf8(message), focus, onlyWhenEnabled};
}

} // namespace

CompanyForm::CompanyForm(Database &db, CompanyFormContext context)
    : db_(db), context_(std::move(context))
{
    limit(CompanyField::Ruc) = 11;
    limit(CompanyField::Razon) = modifyMode() ? 50 : 40;
    for (CompanyField f : {CompanyField::Activos, CompanyField::Adiciones,
                           CompanyField::Deducciones, CompanyField::Base, CompanyField::Impuesto}) {
        limit(f) = kAmountShowLimit;
    }
}

std::vector<CompanyRefusal> CompanyForm::load()
{
    threshold_ = taxScale(db_, context_.exercise, QStringLiteral("1"));
    rate_ = taxScale(db_, context_.exercise, QStringLiteral("2"));
    std::vector<CompanyRefusal> refusals;
    if (modifyMode()) {
        refusals = setText(CompanyField::Ruc, context_.selectedRuc);
    }
    modified_ = false;
    return refusals;
}

QString CompanyForm::netAssetsLabel() const
{
    const QString exercise = context_.exercise.trimmed();
    const std::optional<double> year = readNumberText(exercise);
    if (!year) {
        throw DbError(13, QStringLiteral("No coinciden los tipos"));
    }
    // The exercise compares as text, as the host compares it.
    QString label = exercise < u"2006" ? QStringLiteral("Activos Netos ajustados al 31/12/")
                                       : QStringLiteral("Activos Netos al 31/12/");
    label += QString::number(static_cast<qint64>(*year) - 1);
    label += percentageVisible() ? QStringLiteral(" transferidos por la escisión :")
                                 : QStringLiteral(" :");
    return label;
}

bool CompanyForm::percentageVisible() const
{
    return context_.reorgType == u"3" || context_.reorgType == u"4";
}

bool CompanyForm::enabled(CompanyField f) const
{
    if (readOnly()) {
        return false;
    }
    return !(f == CompanyField::Ruc && modifyMode());
}

bool CompanyForm::computed(CompanyField f)
{
    return f == CompanyField::Base || f == CompanyField::Impuesto;
}

QString CompanyForm::text(CompanyField f) const
{
    return texts_[static_cast<size_t>(f)];
}

int CompanyForm::maxLength(CompanyField f) const
{
    if (f == CompanyField::Porcentaje) {
        return text(f).contains(u'.') ? 6 : 3;
    }
    return limits_[static_cast<size_t>(f)];
}

std::vector<CompanyRefusal> CompanyForm::setText(CompanyField f, const QString &newText)
{
    if (f != CompanyField::Ruc) {
        assign(f, newText);
        return {};
    }
    if (field(f) == newText) {
        return {};
    }
    field(f) = newText;
    if (modifyMode()) {
        copySelectedRow();
    }
    return newText.length() == 11 ? rucChecks() : std::vector<CompanyRefusal>();
}

void CompanyForm::assign(CompanyField f, const QString &newText)
{
    if (field(f) == newText) {
        return;
    }
    field(f) = newText;
    onChanged(f);
}

void CompanyForm::onChanged(CompanyField f)
{
    if (isAmount(f) || f == CompanyField::Porcentaje) {
        Calcular_Base();
        Calcular_Imp();
    }
}

void CompanyForm::enter(CompanyField f)
{
    if (isAmount(f)) {
        limit(f) = kAmountEditLimit;
        assign(f, formatText(text(f), kEditPattern));
    } else if (f == CompanyField::Porcentaje) {
        assign(f, formatText(text(f), kPercentPattern));
    }
}

void CompanyForm::leave(CompanyField f)
{
    if (isAmount(f)) {
        limit(f) = kAmountShowLimit;
        assign(f, formatText(text(f), kShowPattern));
    } else if (f == CompanyField::Porcentaje) {
        assign(f, formatText(text(f), kPercentPattern));
    }
}

int CompanyForm::filterKey(CompanyField f, int code, const QString &currentText, int selected)
{
    modified_ = true;
    if (code == kBackspaceKey || code == kEnterKey) {
        return code;
    }
    int passed = 0;
    switch (f) {
    case CompanyField::Ruc:
        passed = code >= '0' && code <= '9' ? code : 0;
        break;
    case CompanyField::Razon:
        passed = textUtility_.lettersKeyFilter(code);
        break;
    case CompanyField::Porcentaje:
        // Knowing the text, the filter refuses a second decimal point.
        passed = textUtility_.numericKeyFilter(code, currentText, true, false, false);
        break;
    case CompanyField::Activos:
    case CompanyField::Adiciones:
    case CompanyField::Deducciones:
        passed = textUtility_.numericKeyFilter(code, false, false, false);
        break;
    case CompanyField::Base:
    case CompanyField::Impuesto:
        return 0;
    }
    // The limit is checked against the text as the key finds it: a limit that drops below
    // the text's length (the percentage losing its point) never cuts what is there.
    const int limitNow =
        f == CompanyField::Porcentaje ? (currentText.contains(u'.') ? 6 : 3) : maxLength(f);
    if (passed != 0 && currentText.length() - selected >= limitNow) {
        return 0;
    }
    return passed;
}

void CompanyForm::Calcular_Base()
{
    const QString a = text(CompanyField::Activos).trimmed();
    const QString b = text(CompanyField::Adiciones).trimmed();
    const QString d = text(CompanyField::Deducciones).trimmed();
    if (a.isEmpty() && b.isEmpty() && d.isEmpty()) {
        field(CompanyField::Base).clear();
        return;
    }
    Currency base = amountOf(a) + amountOf(b) - amountOf(d);
    if (base < Currency()) {
        base = Currency();
    }
    field(CompanyField::Base) = formatCurrency(base, kShowPattern);
}

void CompanyForm::Calcular_Imp()
{
    if (!threshold_) {
        threshold_ = taxScale(db_, context_.exercise, QStringLiteral("1"));
        rate_ = taxScale(db_, context_.exercise, QStringLiteral("2"));
    }
    const QString baseText = text(CompanyField::Base).trimmed();
    if (baseText.isEmpty()) {
        field(CompanyField::Impuesto).clear();
        return;
    }
    const Currency base = amountOf(baseText);
    Currency tax;
    if (base > *threshold_) {
        tax = (base - *threshold_) * *rate_;
        // Only a spin-off of type "3" pays its share; type "4" asks for the percentage too
        // but pays the whole tax.
        if (context_.reorgType == u"3") {
            tax = tax * Currency::fromText(text(CompanyField::Porcentaje)) / Currency::fromInt(100);
        }
    }
    field(CompanyField::Impuesto) = formatCurrency(tax, kShowPattern);
}

void CompanyForm::copySelectedRow()
{
    const std::vector<Record> rows =
        db_.selectForUpdate(QStringLiteral("SELECT * FROM TMPF731EMPRESAS WHERE NUM_DOC_EMP='") +
                            sqlText(context_.selectedRuc) + u'\'');
    if (rows.empty()) {
        return;
    }
    const Record &row = rows.front();
    const auto shown = [&row](const char *column) {
        return formatText(row.value(QString::fromLatin1(column)).toText(), kShowPattern);
    };
    assign(CompanyField::Razon, row.value(QStringLiteral("des_razon")).toText());
    assign(CompanyField::Activos, shown("mto_activos"));
    assign(CompanyField::Porcentaje, row.value(QStringLiteral("porc_part")).toText());
    assign(CompanyField::Adiciones, shown("mto_adic"));
    assign(CompanyField::Deducciones, shown("mto_deduc"));
    // The stored base and tax stand, whatever the fields above computed on the way.
    field(CompanyField::Base) = shown("mto_base_imp");
    field(CompanyField::Impuesto) = shown("mto_imp_pag");
}

bool CompanyForm::rucExists(const QString &ruc)
{
    return !db_.query(QStringLiteral("SELECT * FROM TMPF731EMPRESAS WHERE NUM_DOC_EMP='") +
                      sqlText(ruc) + u'\'')
                .isEmpty();
}

std::vector<CompanyRefusal> CompanyForm::rucChecks()
{
    const QString ruc = text(CompanyField::Ruc);
    std::vector<CompanyRefusal> refusals;
    if (!textUtility_.isValidRuc(ruc.trimmed())) {
        refusals.push_back(refusal("El RUC no es Válido.", CompanyField::Ruc));
    }
    if (ruc.trimmed() == context_.declarantRuc.trimmed()) {
        refusals.push_back(
            refusal("El RUC no puede ser igual al del declarante.", CompanyField::Ruc));
    }
    if (!modifyMode() && rucExists(ruc)) {
        refusals.push_back(refusal("El RUC de la Empresa ya se registró.", CompanyField::Ruc));
    }
    return refusals;
}

std::optional<CompanyRefusal> CompanyForm::accept()
{
    const QString ruc = text(CompanyField::Ruc);
    if (ruc.length() != 11 || !textUtility_.isValidRuc(ruc.trimmed())) {
        return refusal("El RUC no es Válido.", CompanyField::Ruc);
    }
    if (ruc.trimmed() == context_.declarantRuc.trimmed()) {
        return refusal("El RUC no puede ser igual al del declarante.", CompanyField::Ruc);
    }
    const QString percent = text(CompanyField::Porcentaje);
    if (percentageVisible() && percent.trimmed().isEmpty()) {
        return refusal("Debe ingresar el porcentaje de participación", CompanyField::Porcentaje,
                       true);
    }
    if (percentageVisible() &&
        (Currency::fromText(formatText(percent, kPercentPattern)) <= Currency() ||
         Currency::fromText(percent) > Currency::fromInt(100))) {
        return refusal("El porcentaje de participación debe ser mayor a 0% y menor o igual a 100%",
                       CompanyField::Porcentaje, true);
    }
    if (text(CompanyField::Activos).trimmed().isEmpty()) {
        return refusal("Debe ingresar los activos netos", CompanyField::Activos, true);
    }
    if (text(CompanyField::Razon).trimmed().isEmpty()) {
        return refusal("Ingrese la Razón Social.", CompanyField::Razon);
    }
    // Read and write in one transaction, so two windows cannot both add the same company.
    Transaction tx(db_);
    std::vector<Record> rows = db_.selectForUpdate(
        QStringLiteral("SELECT * FROM TMPF731EMPRESAS WHERE NUM_DOC_EMP='") + sqlText(ruc) + u'\'');
    Record row;
    if (!modifyMode() && !rows.empty()) {
        return refusal("El RUC de la Empresa ya se registró.", CompanyField::Ruc);
    }
    if (rows.empty()) {
        // Mode "1" finds its row unless it was deleted meanwhile; it is then added again.
        row = db_.newRecord(QStringLiteral("TMPF731EMPRESAS"));
        row.set(QStringLiteral("num_doc_emp"), ruc);
    } else {
        row = std::move(rows.front());
    }
    fillRow(row);
    db_.store(row);
    tx.commit();
    return std::nullopt;
}

void CompanyForm::fillRow(Record &row) const
{
    row.set(QStringLiteral("des_razon"), text(CompanyField::Razon));
    row.set(QStringLiteral("mto_activos"), formatText(text(CompanyField::Activos), kStorePattern));
    row.set(QStringLiteral("mto_adic"), formatText(text(CompanyField::Adiciones), kStorePattern));
    row.set(QStringLiteral("mto_deduc"),
            formatText(text(CompanyField::Deducciones), kStorePattern));
    row.set(QStringLiteral("mto_base_imp"), formatText(text(CompanyField::Base), kStorePattern));
    row.set(QStringLiteral("mto_imp_pag"), formatText(text(CompanyField::Impuesto), kStorePattern));
    const QString percent = text(CompanyField::Porcentaje);
    row.set(QStringLiteral("porc_part"),
            percent.isEmpty() ? QString() : formatText(percent, kPercentPattern));
}

} // namespace qz
