// pdftotext and pdfinfo through QProcess.
#include "support/pdftext.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace qz::test {

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

QString pdfText(const QString &pdf, int first, int last)
{
    QStringList args{QStringLiteral("-layout")};
    if (first > 0) {
        args << QStringLiteral("-f") << QString::number(first) << QStringLiteral("-l")
             << QString::number(last);
    }
    args << pdf << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), args);
}

int pdfPageCount(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

std::vector<PdfWord> pdfWords(const QString &pdf)
{
    // XHTML: <page width= height=> holding <word xMin= yMin= xMax= yMax=>text</word>.
    const QString xhtml =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    std::vector<PdfWord> words;
    QXmlStreamReader xml(xhtml);
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == u"page") {
            ++page;
        } else if (xml.name() == u"word") {
            const QXmlStreamAttributes a = xml.attributes();
            PdfWord w;
            w.page = page;
            w.xMin = a.value(QLatin1String("xMin")).toDouble();
            w.yMin = a.value(QLatin1String("yMin")).toDouble();
            w.xMax = a.value(QLatin1String("xMax")).toDouble();
            w.yMax = a.value(QLatin1String("yMax")).toDouble();
            w.text = xml.readElementText();
            words.push_back(w);
        }
    }
    return xml.hasError() ? std::vector<PdfWord>{} : words;
}

} // namespace qz::test
