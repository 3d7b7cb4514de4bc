// The draft's content: taken from the model, and to and from its JSON text.
#include "core/declaration/draft.h"

#include "core/data/clock.h"
#include "core/declaration/boxes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <utility>

namespace qz {

namespace {

const QString kFormat = QStringLiteral("0731-draft");
constexpr int kVersion = 1;

const std::vector<std::pair<Field, const char *>> &fieldNames()
{
    static const std::vector<std::pair<Field, const char *>> names = {
        {Field::Telefono, "telefono"},
        {Field::FechaReorg, "fechaReorg"},
        {Field::CantEmpresas, "cantEmpresas"},
        {Field::NombreContador, "nombreContador"},
        {Field::ApellidoContador, "apellidoContador"},
        {Field::ApellidoRepresentante, "apellidoRepresentante"},
        {Field::NombreRepresentante, "nombreRepresentante"},
    };
    return names;
}

const std::vector<std::pair<Answer, const char *>> &answerNames()
{
    static const std::vector<std::pair<Answer, const char *>> names = {
        {Answer::Rectifica, "rectifica"}, {Answer::Ajuste, "ajuste"}, {Answer::Liquid, "liquid"},
        {Answer::Reorg, "reorg"},         {Answer::Coop, "coop"},
    };
    return names;
}

// Reads the JSON object's members, remembering the first one that is missing or not text.
class Reader final {
public:
    explicit Reader(QString &why) : why_(why) {}

    QString text(const QJsonObject &o, const QString &name)
    {
        const QJsonValue v = o.value(name);
        if (!v.isString()) {
            fail(QStringLiteral("'%1' is not a text").arg(name));
            return QString();
        }
        return v.toString();
    }
    QJsonObject object(const QJsonObject &o, const QString &name)
    {
        const QJsonValue v = o.value(name);
        if (!v.isObject()) {
            fail(QStringLiteral("'%1' is not an object").arg(name));
        }
        return v.toObject();
    }
    void fail(const QString &why)
    {
        if (ok_) {
            why_ = why;
        }
        ok_ = false;
    }
    bool ok() const { return ok_; }

private:
    QString &why_;
    bool ok_ = true;
};

} // namespace

const std::vector<Field> &draftFields()
{
    static const std::vector<Field> fields = [] {
        std::vector<Field> f;
        for (const auto &[field, name] : fieldNames()) {
            f.push_back(field);
        }
        return f;
    }();
    return fields;
}

DeclarationDraft captureDraft(DeclarationModel &model, const DraftKey &key)
{
    DeclarationDraft d;
    d.key = key;
    d.written = now();
    for (int n : kBoxList) {
        d.boxes[n] = model.text(n);
    }
    for (Field f : draftFields()) {
        d.fields[f] = model.field(f);
    }
    for (const auto &[a, name] : answerNames()) {
        d.answers[a] = model.answer(a);
    }
    d.tipoReorg = model.tipoReorg();
    d.paymentType = model.payment().paymentType();
    d.bankCode = model.payment().bankCode();
    d.chequeNumber = model.payment().chequeNumber();
    d.mtoDet = model.mtoDet();
    d.mtoNet = model.mtoNet();
    d.companies = model.scratchCompanies();
    return d;
}

QByteArray draftToJson(const DeclarationDraft &d)
{
    QJsonObject boxes;
    for (const auto &[n, text] : d.boxes) {
        boxes.insert(QString::number(n), text);
    }
    QJsonObject fields;
    for (const auto &[f, name] : fieldNames()) {
        const auto it = d.fields.find(f);
        fields.insert(QLatin1String(name), it == d.fields.end() ? QString() : it->second);
    }
    QJsonObject answers;
    for (const auto &[a, name] : answerNames()) {
        const auto it = d.answers.find(a);
        answers.insert(QLatin1String(name), it == d.answers.end() ? QString() : it->second);
    }
    QJsonArray companies;
    for (const CompanyRow &row : d.companies) {
        QJsonObject company;
        for (const auto &[column, value] : row) {
            company.insert(column, value ? QJsonValue(*value) : QJsonValue());
        }
        companies.append(company);
    }
    const QJsonObject o{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kVersion},
        {QStringLiteral("written"), d.written.toString(Qt::ISODate)},
        {QStringLiteral("user"), d.key.user},
        {QStringLiteral("ruc"), d.key.ruc},
        {QStringLiteral("exercise"), d.key.exercise},
        {QStringLiteral("form"), d.key.form},
        {QStringLiteral("boxes"), boxes},
        {QStringLiteral("fields"), fields},
        {QStringLiteral("answers"), answers},
        {QStringLiteral("tipoReorg"), d.tipoReorg},
        {QStringLiteral("payment"), QJsonObject{{QStringLiteral("type"), d.paymentType},
                                                {QStringLiteral("bank"), d.bankCode},
                                                {QStringLiteral("cheque"), d.chequeNumber}}},
        {QStringLiteral("ratio"),
         QJsonObject{{QStringLiteral("mtoDet"), d.mtoDet}, {QStringLiteral("mtoNet"), d.mtoNet}}},
        {QStringLiteral("companies"), companies},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<DeclarationDraft> draftFromJson(const QByteArray &text, QString *why)
{
    QString reason;
    const auto refuse = [&](const QString &r) {
        if (why) {
            *why = r;
        }
        return std::nullopt;
    };
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        return refuse(QStringLiteral("not a JSON object: ") + error.errorString());
    }
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != kFormat ||
        o.value(QStringLiteral("version")).toInt(-1) != kVersion) {
        return refuse(
            QStringLiteral("not a draft of format %1, version %2").arg(kFormat).arg(kVersion));
    }
    Reader r(reason);
    DeclarationDraft d;
    d.written = QDateTime::fromString(r.text(o, QStringLiteral("written")), Qt::ISODate);
    if (!d.written.isValid()) {
        r.fail(QStringLiteral("'written' is not a date and time"));
    }
    d.key = {r.text(o, QStringLiteral("user")), r.text(o, QStringLiteral("ruc")),
             r.text(o, QStringLiteral("exercise")), r.text(o, QStringLiteral("form"))};
    const QJsonObject boxes = r.object(o, QStringLiteral("boxes"));
    for (int n : kBoxList) {
        d.boxes[n] = r.text(boxes, QString::number(n));
    }
    const QJsonObject fields = r.object(o, QStringLiteral("fields"));
    for (const auto &[f, name] : fieldNames()) {
        d.fields[f] = r.text(fields, QLatin1String(name));
    }
    const QJsonObject answers = r.object(o, QStringLiteral("answers"));
    for (const auto &[a, name] : answerNames()) {
        d.answers[a] = r.text(answers, QLatin1String(name));
    }
    d.tipoReorg = r.text(o, QStringLiteral("tipoReorg"));
    const QJsonObject payment = r.object(o, QStringLiteral("payment"));
    d.paymentType = r.text(payment, QStringLiteral("type"));
    d.bankCode = r.text(payment, QStringLiteral("bank"));
    d.chequeNumber = r.text(payment, QStringLiteral("cheque"));
    const QJsonObject ratio = r.object(o, QStringLiteral("ratio"));
    d.mtoDet = r.text(ratio, QStringLiteral("mtoDet"));
    d.mtoNet = r.text(ratio, QStringLiteral("mtoNet"));
    const QJsonValue companies = o.value(QStringLiteral("companies"));
    if (!companies.isArray()) {
        r.fail(QStringLiteral("'companies' is not a list"));
    }
    for (const QJsonValue &c : companies.toArray()) {
        if (!c.isObject()) {
            r.fail(QStringLiteral("a company is not an object"));
            break;
        }
        CompanyRow row;
        const QJsonObject company = c.toObject();
        for (auto it = company.begin(); it != company.end(); ++it) {
            if (it.value().isNull()) {
                row[it.key()] = std::nullopt;
            } else if (it.value().isString()) {
                row[it.key()] = it.value().toString();
            } else {
                r.fail(QStringLiteral("a company's '%1' is not a text").arg(it.key()));
            }
        }
        d.companies.push_back(std::move(row));
    }
    if (!r.ok()) {
        return refuse(reason);
    }
    return d;
}

} // namespace qz
