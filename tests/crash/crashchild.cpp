// The crash harness's child: runs one operation of declmod in a loop on a real installation,
// so that the harness can kill it at any moment (or the crash shim at any write).
//
// Usage: test_crash_child OPERATION DB RPT LOOPS
//   save    saves the whole declaration of 2009 of the first taxpayer, box 101 alternating
//           between two amounts (the first save, when none is stored, from a new declaration)
//   anexo   the box-105 assistant's "&Aceptar" on it, the amounts alternating between two sets
//   spool   the printed declaration written and registered in RPT (OKR001), as "&Imprimir" does
//   orden   the order number of the sending 001 of 2009 registered, alternating between two
//   delete  the declaration saved (even rounds) and deleted (odd rounds), as "&Eliminar" does
//   recover the sending 001 of 2009 recovered into the working tables (even rounds, answering
//           Yes to the overwrite question) and the recovered declaration deleted (odd rounds)
// Prints "ok N" after each round; a failure goes to stderr with exit status 1.
#include "core/data/controlcode.h"
#include "core/data/sqltext.h"
#include "core/declaration/anexo105.h"
#include "core/management/declarationdelete.h"
#include "core/management/recovery.h"
#include "core/reports/declarationreport.h"
#include "core/reports/registeredreport.h"
#include "core/validation/declarationsave.h"
#include "support/modelsupport.h"
#include "support/scriptedmessenger.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

using namespace qz;

constexpr const char *kPeriodo = "2009";
const char *const kVersions[2] = {"2,500,000", "3,500,000"};

QString firstRuc(Database &db)
{
    return db.scalar(QStringLiteral("SELECT doc_id_d FROM CAB WHERE periodo='2009'")).toText();
}

// The taxpayer of the sending 001 of 2009.
QString sentRuc(Database &db)
{
    return db
        .scalar(QStringLiteral("SELECT doc_id_d FROM HCAB WHERE periodo='2009' AND CORREL='001'"))
        .toText();
}

void deleteStored(Database &db)
{
    const QString ruc = firstRuc(db);
    if (!ruc.isEmpty()) {
        deleteRegistered(db, ruc, QString::fromLatin1(kPeriodo), QStringLiteral("0731"));
    }
}

// One save: a new declaration when none is stored, else the stored one opened and changed.
void save(Database &db, test::ScriptedMessenger &messages, int round)
{
    auto model = std::make_unique<DeclarationModel>(db, messages);
    const QString ruc = firstRuc(db);
    if (ruc.isEmpty()) {
        model->setRun({0, QStringLiteral("USUARIO0"), false, QString(), QString()});
        model->open();
        if (!test::typeWholeDeclaration(*model)) {
            throw DbError(0, QStringLiteral("the declaration could not be typed"));
        }
    } else {
        // As "&Modificar" opens it from its list: number, name and exercise.
        const QString razon =
            db.scalar(QStringLiteral("SELECT Nombre FROM CONT WHERE doc_id_d=") + sqlQuoted(ruc))
                .toText();
        model->setRun({1, QString(), false, QString(), QString()});
        model->open({ruc, razon, QString::fromLatin1(kPeriodo), QString()});
    }
    model->setText(101, QString::fromLatin1(kVersions[round % 2]));
    const SaveOutcome outcome = DeclarationSave(*model).CmdGrabar();
    if (!outcome.saved) {
        throw DbError(0, QStringLiteral("not saved: ") + outcome.error);
    }
}

void anexo(Database &db, int round)
{
    const QString ruc = firstRuc(db);
    Anexo105 a;
    for (int field = 0; field < Anexo105::kFields; ++field) {
        a.change(field, QString::number((round % 2 + 1) * 1000 + field));
    }
    a.accept(db, ruc, QString::fromLatin1(kPeriodo), QStringLiteral("0731"), 1);
}

// The order number and its check code as the user types them from the receipt.
void orden(Database &db, test::ScriptedMessenger &messages, int round)
{
    const QString ruc = db.scalar(QStringLiteral("SELECT doc_id_d FROM HCAB WHERE periodo='2009' "
                                                 "AND CORREL='001'"))
                            .toText();
    const QString control = QStringLiteral("12345678");
    const QString numero = round % 2 == 0 ? QStringLiteral("4455") : QStringLiteral("7788");
    QString c = control;
    const QString d1 = checkDigit(c).mid(8, 1);
    QString t = control + numero + d1;
    const QString d2 = checkDigit(t).right(1);
    DeclarationModel model(db, messages);
    model.setRun({1, QString(), true, QStringLiteral("001"), control});
    model.setRucField(ruc);
    model.setSPeriodo(QString::fromLatin1(kPeriodo));
    model.setField(Field::NumOrden, numero);
    model.setField(Field::NumOrdenCheck, d1 + d2);
    const SaveOutcome outcome = DeclarationSave(model).registerOrder();
    if (!outcome.saved) {
        throw DbError(0, QStringLiteral("order number not registered: ") + outcome.error);
    }
}

void spool(Database &db, test::ScriptedMessenger &messages, const QString &rpt)
{
    DeclarationSelection selection;
    selection.ruc = firstRuc(db);
    selection.period = QString::fromLatin1(kPeriodo);
    const RegisteredReport report = writeRegisteredReport(
        db, rpt, {QStringLiteral("OKR001"), 6, selection.ruc, QStringLiteral("CRASH")},
        [&](ReportWriter &writer) { pGeneraDeclaracion(db, writer, selection, messages); });
    if (!report.ok()) {
        throw DbError(report.errorNumber, report.description);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s OPERATION DB RPT LOOPS\n", argv[0]);
        return 2;
    }
    const QString operation = QString::fromLocal8Bit(argv[1]);
    try {
        Database db = Database::open(QString::fromLocal8Bit(argv[2]));
        const QString rpt = QString::fromLocal8Bit(argv[3]);
        test::ScriptedMessenger messages;
        messages.answer = MessageAnswer::Yes;
        const int loops = std::atoi(argv[4]);
        for (int round = 0; round < loops; ++round) {
            if (operation == u"save") {
                save(db, messages, round);
            } else if (operation == u"anexo") {
                anexo(db, round);
            } else if (operation == u"orden") {
                orden(db, messages, round);
            } else if (operation == u"delete") {
                if (round % 2 == 0) {
                    save(db, messages, 0);
                } else {
                    deleteStored(db);
                }
            } else if (operation == u"recover") {
                if (round % 2 == 0) {
                    if (!Recover(db, messages,
                                 {QStringLiteral("0731"), sentRuc(db),
                                  QString::fromLatin1(kPeriodo), QStringLiteral("001")})) {
                        throw DbError(0, QStringLiteral("recovery declined"));
                    }
                } else {
                    deleteStored(db);
                }
            } else if (operation == u"spool") {
                spool(db, messages, rpt);
            } else {
                std::fprintf(stderr, "unknown operation %s\n", argv[1]);
                return 2;
            }
            std::printf("ok %d\n", round);
            std::fflush(stdout);
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s: %d %s\n", argv[1], e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}
