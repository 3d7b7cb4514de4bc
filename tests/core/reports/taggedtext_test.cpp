// The tagged text printer: tags, file-mode bytes, its messages.
#include "core/reports/taggedtext.h"

#include "core/data/messenger.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(TaggedText, TagsChangeTheFontAndOnlyTheFirstCounts)
{
    struct Case {
        const char *line;
        qz::TaggedFont expected;
        bool pageBreak;
    };
    qz::TaggedFont base;
    base.bold = true; // to see bold switched off
    auto with = [&](auto change) {
        qz::TaggedFont f = base;
        change(f);
        return f;
    };
    const Case cases[] = {
        {"<!font!>Arial<!/font!>", with([](auto &f) { f.family = "Arial"; }), false},
        {"<!fontsize!>12<!/fontsize!>", with([](auto &f) { f.size = 12; }), false},
        {"<!fontsize!>abc<!/fontsize!>", with([](auto &f) { f.size = 0; }), false},
        {"<!/bold!>", with([](auto &f) { f.bold = false; }), false},
        {"<!bold!>", base, false},
        {"<!underline!>", with([](auto &f) { f.underline = true; }), false},
        {"<!italic!>", with([](auto &f) { f.italic = true; }), false},
        {"<!np!>", base, true},
        {"texto <!np!> mas texto", base, true},
        {"<!/bold!><!np!>", with([](auto &f) { f.bold = false; }), false},
        {"<!np!><!/bold!>", base, true},
        {"<!desconocido!>", base, false},
        {"<!sin cierre", base, false},
    };
    for (const Case &c : cases) {
        qz::TaggedFont f = base;
        EXPECT_TRUE(qz::isTagLine(c.line)) << c.line;
        EXPECT_EQ(qz::applyTag(c.line, f), c.pageBreak) << c.line;
        EXPECT_EQ(f, c.expected) << c.line;
    }
    EXPECT_FALSE(qz::isTagLine("texto < ! normal !>"));
}

TEST(TaggedText, FileModeWritesTheExactBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString in = dir.filePath("0731200400X00000001.PRN");
    const QString out = dir.filePath("0731200400X00000001.txt");
    writeBytes(in, "<!font!>Courier New<!/font!>\r\n"
                   "<!bold!>\r\n"
                   "DOCUMENTO      : RUC  20100000001\r\n"
                   "\r\n"
                   "    \r\n"
                   "  sangr\xED"
                   "a  \r\n"
                   "<!np!>\r\n"
                   "<!np!>\r\n"
                   "<!np!> esta linea no se imprime\r\n"
                   "NC 00000001  Fec.Generaci\xF3n: 01/02/2024\r\n"
                   "<!np!>\r\n");
    const qz::PrintResult r = qz::printTaggedFile(in, out);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    EXPECT_EQ(r.pages, 2);
    EXPECT_EQ(fileBytes(out), QByteArray("DOCUMENTO      : RUC  20100000001\r\n"
                                         " \r\n"
                                         " \r\n"
                                         "  sangr\xED"
                                         "a  \r\n"
                                         "\x0F\r\n"
                                         "NC 00000001  Fec.Generaci\xF3n: 01/02/2024\r\n"));
}

TEST(TaggedText, MissingInputAndUnwritableOutput)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("x.txt");
    const qz::PrintResult missing = qz::printTaggedFile(dir.filePath("nada.PRN"), out);
    EXPECT_TRUE(missing.missingFile);
    EXPECT_FALSE(missing.ok());
    EXPECT_FALSE(QFile::exists(out));

    const QString in = dir.filePath("a.PRN");
    writeBytes(in, "hola\r\n");
    const qz::PrintResult unwritable = qz::printTaggedFile(in, dir.filePath("no/x.txt"));
    EXPECT_FALSE(unwritable.missingFile);
    EXPECT_EQ(unwritable.errorNumber, qz::printerr::kPathFileAccess);
}

TEST(TaggedText, LineWriterWithoutAFileDoesNothing)
{
    QTemporaryDir dir;
    qz::TaggedLineWriter w;
    EXPECT_FALSE(w.create(dir.filePath("no/such/listing.ERR")));
    w.writeLine("001) algo");
    w.requestPageBreak();
    w.writeLine("");
    EXPECT_FALSE(w.close());

    const QString path = dir.filePath("listing.ERR");
    ASSERT_TRUE(w.create(path));
    w.writeLine("");
    w.writeLine(QStringLiteral("Inconsistencias en Información"));
    w.writeLine(QStringLiteral("€ y ☃"));
    EXPECT_TRUE(w.close());
    EXPECT_EQ(fileBytes(path),
              QByteArray(" \r\nInconsistencias en Informaci\xF3n\r\n\x80 y ?\r\n"));
}

class RecordingMessenger final : public qz::Messenger {
public:
    qz::MessageAnswer show(qz::MessageIcon icon, const QString &title, const QString &text,
                           qz::MessageButtons, qz::MessageAnswer answer) override
    {
        shown.push_back({icon, title, text});
        return answer;
    }
    struct Shown {
        qz::MessageIcon icon;
        QString title, text;
    };
    std::vector<Shown> shown;
};

TEST(PrintErrors, MessagesByNumber)
{
    struct Case {
        qz::PrintResult result;
        const char *title; // nullptr: no message
        const char *text;
    };
    const Case cases[] = {
        {{0, {}, false, 1}, nullptr, nullptr},
        {{53, "x", true, 0}, "Error al Imprimir", "Archivo Físico del Reporte no Existe"},
        {{20545, "x", false, 0}, "Impresión", "La Impresión ha sido Cancelada."},
        {{482, "x", false, 0}, "Impresión", "No existe una impresora seleccionada.Verifique."},
        {{380, "x", false, 0}, "Impresión", "No Existe Información a Imprimir.Verifique."},
        {{55, "x", false, 0}, nullptr, nullptr},
        {{53, "x", false, 0}, nullptr, nullptr},
        {{2055, "x", false, 0}, nullptr, nullptr},
        {{75, "Acceso denegado", false, 0}, "Impresión", "Error Técnico : (75) Acceso denegado"},
    };
    for (const Case &c : cases) {
        RecordingMessenger m;
        qz::showPrintError(m, c.result);
        if (!c.title) {
            EXPECT_TRUE(m.shown.empty()) << c.result.errorNumber;
            continue;
        }
        ASSERT_EQ(m.shown.size(), 1u) << c.result.errorNumber;
        EXPECT_EQ(m.shown[0].icon, qz::MessageIcon::Critical);
        EXPECT_EQ(m.shown[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(m.shown[0].text, QString::fromUtf8(c.text));
    }
}

} // namespace
