// Drafts of the declaration without a screen: a typed declaration through a draft file into a
// fresh model, the restore question and its answers, the files that cannot be read, and when
// the keeper writes, moves and removes its file. Runs with its own QCoreApplication: the
// keeper's timer needs an event loop.
#include "core/data/clock.h"
#include "core/declaration/boxes.h"
#include "core/declaration/declarationmodel.h"
#include "core/declaration/draft.h"
#include "core/declaration/draftkeeper.h"
#include "core/declaration/draftstore.h"
#include "support/modelfixture.h"
#include "support/storeddeclaration.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qz {
namespace {

using test::ScriptedMessenger;

// Every box's text and state, the fields, answers and choices of a model, for comparing two.
struct Snapshot {
    std::map<int, std::tuple<QString, bool, bool, bool, BoxColor>> boxes;
    std::map<Field, QString> fields;
    std::map<Answer, QString> answers;
    QString tipoReorg;
    int reorgSelection = -1;
    bool reorgListEnabled = false;
    std::vector<bool> pages;
    int representativeTypeIndex = -1;
    int zoneIndex = -1;
    QString paymentType, bankCode, chequeNumber, amount, mtoDet, mtoNet, totalBase, totalImpuesto;
    std::vector<CompanyRow> companies;

    explicit Snapshot(DeclarationModel &m)
    {
        for (int n : kBoxList) {
            const BoxState &b = m.box(n);
            boxes[n] = {b.text, b.locked, b.enabled, b.visible, b.color};
        }
        for (Field f : draftFields()) {
            fields[f] = m.field(f);
        }
        for (Answer a :
             {Answer::Rectifica, Answer::Ajuste, Answer::Liquid, Answer::Reorg, Answer::Coop}) {
            answers[a] = m.answer(a);
        }
        tipoReorg = m.tipoReorg();
        reorgSelection = m.reorgSelection();
        reorgListEnabled = m.reorgListEnabled();
        for (int p = 0; p < 5; ++p) {
            pages.push_back(m.pageEnabled(p));
        }
        representativeTypeIndex = m.representativeTypeIndex();
        zoneIndex = m.zoneIndex();
        paymentType = m.payment().paymentType();
        bankCode = m.payment().bankCode();
        chequeNumber = m.payment().chequeNumber();
        amount = m.payment().amount();
        mtoDet = m.mtoDet();
        mtoNet = m.mtoNet();
        totalBase = m.totalBase();
        totalImpuesto = m.totalImpuesto();
        companies = m.scratchCompanies();
    }
    bool operator==(const Snapshot &) const = default;
};

// What differs between two snapshots, box by box, for a readable failure.
std::string differences(const Snapshot &a, const Snapshot &b)
{
    std::string out;
    for (const auto &[n, state] : a.boxes) {
        if (b.boxes.at(n) != state) {
            out += " box " + std::to_string(n) + " '" + std::get<0>(state).toStdString() + "' / '" +
                   std::get<0>(b.boxes.at(n)).toStdString() + "'";
        }
    }
    if (a.fields != b.fields) {
        out += " fields";
    }
    if (a.answers != b.answers) {
        out += " answers";
    }
    if (a.companies != b.companies || a.totalImpuesto != b.totalImpuesto) {
        out += " companies";
    }
    return out.empty() ? " other state" : out;
}

// Runs the event loop until done() or ms passed.
template <typename F> bool waitFor(F done, int ms = 3000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

class DraftTest : public test::ModelTest {
protected:
    void SetUp() override
    {
        test::ModelTest::SetUp();
        ASSERT_TRUE(folder_.isValid());
    }
    // A new declaration of 2009 for the list's second taxpayer (a company of the demo data),
    // with a keeper started as the window starts it.
    std::unique_ptr<DeclarationModel> newDeclaration(std::unique_ptr<DraftKeeper> &keeper)
    {
        auto m = newModel();
        keeper = std::make_unique<DraftKeeper>(*m, folder_.path());
        keeper->start(true);
        m->chooseTaxpayer(1);
        m->setField(Field::Periodo, "2009");
        keeper->offerRestore();
        return m;
    }
    // Types what a user can type and choose, every kind of it, on an identified model.
    void typeEverything(DeclarationModel &m)
    {
        m.setField(Field::Telefono, "4455667");
        m.chooseAnswer(Answer::Rectifica, 1); // the reminder is shown while typing
        m.chooseAnswer(Answer::Liquid, 1);    // opens box 143
        m.chooseAnswer(Answer::Coop, 1);      // shows 110 and 111
        m.chooseAnswer(Answer::Reorg, 1);
        m.chooseReorgType(2); // "3": spin-off wording, page 1 enabled
        m.setField(Field::FechaReorg, "15/03/2009");
        m.setField(Field::CantEmpresas, "2");
        db_.execute("INSERT INTO TMPF731EMPRESAS (num_doc_emp, tip_empresa, des_razon, "
                    "mto_activos, mto_base_imp, mto_imp_pag) VALUES ('20100000001', '3', "
                    "'EMPRESA O''BRIEN', '2000000', '2000000', '4000')");
        m.setCompanyTotals("2,000,000", "4,000", "4,000");
        m.setRatioAmounts("750000", "1000000");
        m.setText(110, "0.75");
        m.setText(101, "2,500,000");
        m.setText(104, "1,000");
        m.setText(142, "(100)");
        m.setText(143, "(50)");
        m.setText(144, "(200)");
        m.setText(145, "33");
        m.setText(180, "6,000");
        ASSERT_TRUE(test::chooseRepresentativeTypeCode(m, "01"));
        m.setText(226, "12345678");
        m.chooseZone(1);
        m.setText(208, "20100079705");
        m.setText(211, "0123");
        m.setField(Field::ApellidoRepresentante, "DIAZ");
        m.setField(Field::NombreRepresentante, "LUIS");
        m.setField(Field::ApellidoContador, "PEREZ");
        m.setField(Field::NombreContador, "ROSA");
        m.setPaymentType("C");
        m.payment().setBankCode("02");
        m.payment().setChequeNumber("778");
        m.markChanged();
    }

    QTemporaryDir folder_;
};

TEST_F(DraftTest, TypedDeclarationComesBackThroughItsFile)
{
    std::unique_ptr<DraftKeeper> keeper;
    auto typed = newDeclaration(keeper);
    typeEverything(*typed);
    ASSERT_TRUE(keeper->stale());
    keeper->flush();
    ASSERT_FALSE(keeper->stale()) << keeper->lastError().toStdString();
    const QString path = keeper->currentPath();
    ASSERT_TRUE(QFile::exists(path));
    const Snapshot before(*typed);
    const QString ruc = typed->taxpayerRuc();
    // The crash: the window and its scratch list are gone; the next opening empties the list.
    keeper.reset();
    typed.reset();
    db_.execute("DELETE * FROM TMPF731EMPRESAS");

    messages_.shown.clear();
    messages_.answer = MessageAnswer::Yes;
    std::unique_ptr<DraftKeeper> again;
    const auto restored = newDeclaration(again);
    ASSERT_EQ(restored->taxpayerRuc(), ruc);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages_.shown[0].title, "731 Vexilar");
    EXPECT_EQ(messages_.shown[0].text, QString::fromUtf8("Se encontró un borrador del 01/06/2026 "
                                                         "10:00. ¿Desea recuperarlo?"));
    const Snapshot after(*restored);
    EXPECT_TRUE(after == before) << differences(before, after);
    EXPECT_EQ(restored->text(115), "4,000");
    EXPECT_TRUE(restored->algunCambio());
    EXPECT_TRUE(QFile::exists(path)); // kept until a save or a "No" on leaving
}

TEST_F(DraftTest, StoredDeclarationChangedComesBackOverTheStoredOne)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    test::StoredDeclaration stored(db_, ruc, "2009");
    stored.header();
    for (const auto &[box, value] : {std::pair{"101", "1500000"},
                                     {"160", "1"},
                                     {"827", "0"},
                                     {"825", "0"},
                                     {"826", "0"},
                                     {"829", "0"}}) {
        stored.box(box, value);
    }
    const auto open = [&](std::unique_ptr<DraftKeeper> &keeper) {
        auto m = storedModel(ruc, "COMERCIAL ANDINA S.A.", "2009");
        keeper = std::make_unique<DraftKeeper>(*m, folder_.path());
        keeper->start(true);
        return m;
    };
    std::unique_ptr<DraftKeeper> keeper;
    auto typed = open(keeper);
    typed->setText(101, "1,800,000");
    typed->setText(104, "");
    typed->chooseAnswer(Answer::Liquid, 1);
    typed->setText(143, "(25)");
    typed->setField(Field::Telefono, "998877");
    keeper->flush();
    const Snapshot before(*typed);
    keeper.reset();
    typed.reset();

    messages_.answer = MessageAnswer::Yes;
    std::unique_ptr<DraftKeeper> again;
    const auto restored = open(again);
    const Snapshot after(*restored);
    EXPECT_TRUE(after == before) << differences(before, after);
    EXPECT_EQ(restored->text(101), "1,800,000");
}

TEST_F(DraftTest, NoRemovesTheDraftAndKeepsWhatWasOpened)
{
    std::unique_ptr<DraftKeeper> keeper;
    auto typed = newDeclaration(keeper);
    typed->setText(101, "2,500,000");
    keeper->flush();
    const QString path = keeper->currentPath();
    ASSERT_TRUE(QFile::exists(path));
    keeper.reset();
    typed.reset();

    messages_.answer = MessageAnswer::No;
    messages_.shown.clear();
    std::unique_ptr<DraftKeeper> again;
    const auto m = newDeclaration(again);
    EXPECT_EQ(messages_.shown.size(), 1u);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(m->text(101), "");
    EXPECT_FALSE(again->offerRestore()); // asked once per declaration
    EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(DraftTest, UnreadableDraftsAreRemovedWithoutAQuestion)
{
    std::unique_ptr<DraftKeeper> keeper;
    auto typed = newDeclaration(keeper);
    typed->setText(101, "2,500,000");
    keeper->flush();
    const QString path = keeper->currentPath();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    keeper.reset();
    typed.reset();
    ASSERT_TRUE(draftFromJson(good).has_value());

    QByteArray boxNotText = good;
    boxNotText.replace("\"101\":\"2,500,000\"", "\"101\":2500000");
    ASSERT_NE(boxNotText, good);
    QByteArray otherTaxpayer = good;
    otherTaxpayer.replace("\"ruc\":\"", "\"ruc\":\"9");
    const std::pair<const char *, QByteArray> bad[] = {
        {"empty", QByteArray()},
        {"truncated", good.left(good.size() / 2)},
        {"not JSON", QByteArray::fromHex("00ff2067617262616765")},
        {"a list", "[1,2,3]"},
        {"another format", QByteArray(good).replace("0731-draft", "0732-draft")},
        {"a later version", QByteArray(good).replace("\"version\":1", "\"version\":2")},
        {"a box not text", boxNotText},
        {"no time", QByteArray(good).replace("\"written\":\"", "\"written\":\"x")},
        {"another taxpayer's draft", otherTaxpayer},
        {"too large", QByteArray(kMaxDraftBytes + 10, ' ') + good},
    };
    for (const auto &[name, text] : bad) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(writeDraftFile(path, text));
        messages_.shown.clear();
        std::unique_ptr<DraftKeeper> again;
        const auto m = newDeclaration(again);
        EXPECT_TRUE(messages_.shown.empty());
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(m->text(101), "");
    }
}

TEST_F(DraftTest, KeeperWritesOnlyForADeclarationWithItsKey)
{
    auto m = newModel();
    DraftKeeper keeper(*m, folder_.path());
    keeper.start(true);
    m->chooseTaxpayer(1);
    m->setField(Field::Telefono, "4455667");
    EXPECT_TRUE(keeper.currentPath().isEmpty()); // no exercise yet
    keeper.flush();
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());

    m->setField(Field::Periodo, "2009");
    ASSERT_FALSE(keeper.currentPath().isEmpty());
    m->setText(101, "2,500,000");
    // The timer writes it without a flush.
    ASSERT_TRUE(waitFor([&] { return QFile::exists(keeper.currentPath()); }));
    EXPECT_FALSE(keeper.stale());
    const QString first = keeper.currentPath();

    // A new declaration's exercise can still change: the work moves to the new key.
    m->setField(Field::Periodo, "2010");
    m->setText(104, "1,000");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(keeper.currentPath()); }));
    EXPECT_NE(keeper.currentPath(), first);
    EXPECT_FALSE(QFile::exists(first));

    // An exercise that is stored already cannot be typed as new: no draft for it.
    test::StoredDeclaration(db_, m->taxpayerRuc(), "2008").header();
    m->setField(Field::Periodo, "2008");
    EXPECT_TRUE(keeper.currentPath().isEmpty());

    // After a save the draft goes; the next change starts one again.
    m->setField(Field::Periodo, "2010");
    keeper.removeDraft();
    EXPECT_FALSE(QFile::exists(keeper.currentPath()));
    m->setText(104, "2,000");
    keeper.flush();
    EXPECT_TRUE(QFile::exists(keeper.currentPath()));
}

TEST_F(DraftTest, SentDeclarationGetsNoDraft)
{
    const QString ruc = test::demoRuc(db_, "COMERCIAL ANDINA S.A.");
    DeclarationModel m(db_, messages_);
    m.setRun({1, "USUARIO0", true, "1", "123"});
    m.open({ruc, "COMERCIAL ANDINA S.A.", "2009", "0"});
    DraftKeeper keeper(m, folder_.path());
    keeper.start(true);
    m.setField(Field::NumOrden, "1234567890");
    m.markChanged();
    keeper.flush();
    EXPECT_TRUE(keeper.currentPath().isEmpty());
    EXPECT_TRUE(QDir(folder_.path()).isEmpty());
}

TEST_F(DraftTest, CrashDraftIsNotOverwrittenBeforeItIsOffered)
{
    std::unique_ptr<DraftKeeper> keeper;
    auto typed = newDeclaration(keeper);
    typed->setText(101, "2,500,000");
    keeper->flush();
    const QString path = keeper->currentPath();
    keeper.reset();
    typed.reset();

    // A window whose offer has not come yet: its flush writes nothing over the crash's draft.
    auto m = newModel();
    DraftKeeper late(*m, folder_.path());
    late.start(false);
    messages_.answer = MessageAnswer::Yes;
    m->chooseTaxpayer(1);
    m->setField(Field::Periodo, "2009");
    m->setText(104, "7");
    late.flush();
    std::optional<QByteArray> text = readDraftFile(path);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(draftFromJson(*text)->boxes.at(104), "");
    // The event loop then asks, and "Sí" brings the draft back.
    ASSERT_TRUE(waitFor([&] { return m->text(101) == "2,500,000"; }));
}

TEST(DraftPath, NamesStayInsideTheFolderAndApartPerDatabase)
{
    const DraftKey key{"../../etc/x y", "20100079705", "2009", "0731"};
    const QString path = draftPath("/d", "/a/QZ000.MDB", key);
    EXPECT_TRUE(path.startsWith("/d/"));
    EXPECT_EQ(path.count(u'/'), 3) << path.toStdString();
    EXPECT_FALSE(path.contains("..")) << path.toStdString();
    EXPECT_TRUE(path.endsWith("_20100079705_2009_0731.json"));
    EXPECT_NE(path, draftPath("/d", "/b/QZ000.MDB", key));
    EXPECT_NE(draftPath("/d", "/a/QZ000.MDB", {"A", "1", "2009", "0731"}),
              draftPath("/d", "/a/QZ000.MDB", {"a", "1", "2009", "0731"}));
}

} // namespace
} // namespace qz

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
