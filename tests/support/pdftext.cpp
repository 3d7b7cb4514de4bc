// pdftotext and pdfinfo through QProcess.
#include "support/pdftext.h"

#include <QProcess>
#include <QRegularExpression>

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

} // namespace qz::test
