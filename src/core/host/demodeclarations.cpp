// The demo declarations, typed on the module's declaration model as a user types them and
// saved by the module's "&Grabar".
#include "core/host/demodeclarations.h"

#include "core/components/doctypes.h"
#include "core/components/textutility.h"
#include "core/data/database.h"
#include "core/data/messenger.h"
#include "core/data/sqltext.h"
#include "core/declaration/declarationmodel.h"
#include "core/host/demodata.h"
#include "core/validation/companyform.h"
#include "core/validation/companylist.h"
#include "core/validation/declarationsave.h"

#include <QStringList>

#include <optional>

namespace qz {

namespace {

// Keeps what the model would show, answering questions with their default.
class QuietMessenger final : public Messenger {
public:
    MessageAnswer show(MessageIcon, const QString &, const QString &text, MessageButtons,
                       MessageAnswer defaultAnswer) override
    {
        shown << text;
        return defaultAnswer;
    }
    QStringList shown;
};

struct Company {
    const char *firstTen; // the RUC without its check digit
    const char *razon;
    const char *activos;
};

struct Demo {
    const char *nombre; // the demo taxpayer
    const char *user;   // the user who owns it, who types the declaration
    const char *box101; // net assets, as the box shows it
    const char *box180; // amount paid: the tax that follows from box 101
    bool reorganization;
};

// Exercise 2009: exempt up to 1,000,000 and a rate of 0.4 %, so the tax of 2,500,000 is 6,000.
const QString kExercise = QStringLiteral("2009");

constexpr Demo kDemos[] = {
    {"COMERCIAL ANDINA S.A.", kDemoUser, "2,500,000", "6,000", false},
    {"EMPRESA DE TRANSPORTES EL SOL S.A.", kDemoUserAll, "2,500,000", "6,000", true},
    {"INVERSIONES D'ALESSANDRO S.A.C.", kDemoUser, "3,000,000", "8,000", false},
};
constexpr int kDemoToSend = 2;

// Two absorbed companies of the reorganization (type 1), each with a tax of 4,000.
constexpr Company kCompanies[] = {
    {"2010007970", "MINERA LOS ALAMOS S.A.", "2,000,000"},
    {"2010000001", "TRANSPORTES RAPIDOS DEL SUR S.A.C.", "2,000,000"},
};

QString rucOf(Database &db, const char *nombre)
{
    return db
        .scalar(QStringLiteral("SELECT Doc_id_d FROM CONT WHERE Tip_doc_d=6 AND Nombre=") +
                sqlQuoted(QString::fromUtf8(nombre)))
        .toText();
}

bool chooseTaxpayer(DeclarationModel &m, const QString &ruc)
{
    const QStringList entries = m.taxpayerEntries();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].startsWith(ruc)) {
            m.chooseTaxpayer(i);
            return true;
        }
    }
    return false;
}

bool chooseRepresentativeType(DeclarationModel &m, const QString &code)
{
    const QStringList &types = m.representativeTypes();
    for (int i = 0; i < types.size(); ++i) {
        if (entryTypeCode(types[i]) == code) {
            m.chooseRepresentativeType(i);
            return true;
        }
    }
    return false;
}

// Adds the companies through the company dialog's logic and puts their totals on the model,
// as the declaration window does after the dialog closes. An empty text when all went in.
QString addCompanies(Database &db, DeclarationModel &m, const QString &ruc)
{
    m.loadCompanies(); // a new declaration: empties the scratch table
    for (const Company &c : kCompanies) {
        CompanyForm form(db, {QStringLiteral("0"), ruc, kExercise, QStringLiteral("1"), {}, false});
        form.load();
        const QString companyRuc = TextUtility::completeRuc(QString::fromLatin1(c.firstTen));
        const std::vector<CompanyRefusal> refused = form.setText(CompanyField::Ruc, companyRuc);
        if (!refused.empty()) {
            return QStringLiteral("company %1: %2").arg(companyRuc, refused.front().message);
        }
        form.setText(CompanyField::Razon, QString::fromUtf8(c.razon));
        form.setText(CompanyField::Activos, QString::fromLatin1(c.activos));
        form.setText(CompanyField::Adiciones, QStringLiteral("0"));
        form.setText(CompanyField::Deducciones, QStringLiteral("0"));
        if (const std::optional<CompanyRefusal> refusal = form.accept()) {
            return QStringLiteral("company %1: %2").arg(companyRuc, refusal->message);
        }
    }
    const CompanyTotals totals = companyTotals(db);
    m.setCompanyTotals(totals.totalBase, totals.totalImpuesto, totals.box115);
    return {};
}

// Types one declaration on a new model and saves it; an empty text when it was saved
// consistent.
QString saveDemo(Database &db, const Demo &demo, const QString &ruc)
{
    QuietMessenger messages;
    DeclarationModel m(db, messages);
    m.setRun({0, QString::fromLatin1(demo.user), false, QString(), QString()});
    m.open();
    if (!chooseTaxpayer(m, ruc)) {
        return QStringLiteral("the taxpayer %1 is not in the list of %2").arg(ruc, demo.user);
    }
    m.setField(Field::Periodo, kExercise);
    m.setField(Field::Telefono, QStringLiteral("4455667"));
    for (Answer a : {Answer::Rectifica, Answer::Liquid, Answer::Reorg, Answer::Coop}) {
        m.chooseAnswer(a, 0);
    }
    m.setText(101, QString::fromLatin1(demo.box101));
    m.setText(160, QStringLiteral("1"));
    m.setText(180, QString::fromLatin1(demo.box180));
    m.setPaymentType(QStringLiteral("E"));
    if (!chooseRepresentativeType(m, QStringLiteral("01"))) {
        return QStringLiteral("no document type 01 for the representative");
    }
    m.setText(226, QStringLiteral("12345678"));
    m.setField(Field::ApellidoRepresentante, QStringLiteral("DIAZ"));
    if (demo.reorganization) {
        m.chooseAnswer(Answer::Reorg, 1);
        m.chooseReorgType(0); // type 1: the declarant absorbed the companies
        m.setField(Field::FechaReorg, QStringLiteral("15/03/2009"));
        m.setField(Field::CantEmpresas, QString::number(std::size(kCompanies)));
        const QString refused = addCompanies(db, m, ruc);
        if (!refused.isEmpty()) {
            return refused;
        }
    }
    const SaveOutcome out = DeclarationSave(m).CmdGrabar();
    if (!out.saved) {
        return out.stop ? out.stop->message
                        : (out.error.isEmpty() ? messages.shown.join(u'\n') : out.error);
    }
    if (!out.consistent) {
        return QStringLiteral("saved with inconsistencies");
    }
    return {};
}

} // namespace

DemoDeclarationsResult insertDemoDeclarations(Database &db)
{
    DemoDeclarationsResult result;
    try {
        if (!db.tableExists(QStringLiteral("F731EMPRESAS"))) {
            result.message = QStringLiteral("the module's tables are missing: run decltab first");
            return result;
        }
        if (db.scalar(QStringLiteral("SELECT count(*) FROM CAB")).toInt() +
                db.scalar(QStringLiteral("SELECT count(*) FROM HCAB")).toInt() >
            0) {
            result.message = QStringLiteral("the installation holds declarations already; "
                                            "nothing was added");
            return result;
        }
        QStringList saved;
        for (const Demo &demo : kDemos) {
            const QString ruc = rucOf(db, demo.nombre);
            const QString why = saveDemo(db, demo, ruc);
            if (!why.isEmpty()) {
                result.message = QStringLiteral("the declaration of %1 %2 was not saved: %3")
                                     .arg(ruc, kExercise, why);
                return result;
            }
            saved << ruc;
        }
        result.toSend = {saved.at(kDemoToSend), kExercise};
        result.ok = true;
        result.message = QStringLiteral("demo declarations of %1 saved: %2")
                             .arg(kExercise, saved.join(QStringLiteral(", ")));
    } catch (const DbError &e) {
        result.message =
            QStringLiteral("demo declarations: error %1: %2").arg(e.number()).arg(e.description());
    }
    return result;
}

} // namespace qz
