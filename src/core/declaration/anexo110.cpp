// The box-110 assistant's opening, ratio and accept.
#include "core/declaration/anexo110.h"

#include "core/data/format.h"
#include "core/data/numbertext.h"

namespace qz {

namespace {

double ratioText(const QString &text)
{
    return val(formatText(text, QStringLiteral("##0.00")));
}

// A shared amount or box 110 as a field shows it at opening: "0" when it is no number.
QString openingText(const QString &text, const QString &pattern)
{
    return readNumberText(text) ? formatText(text, pattern) : QStringLiteral("0");
}

double amountValue(const QString &text)
{
    return val(formatText(text, QString::fromLatin1(Anexo110::kEditPattern)));
}

} // namespace

void Anexo110::load(const QString &box110Text, const QString &mtoDet, const QString &mtoNet)
{
    dTotal_ = ratioText(box110Text);
    change(0, openingText(mtoDet, QStringLiteral("###,###,###,##0")));
    change(1, openingText(mtoNet, QStringLiteral("###,###,###,##0")));
    // Set last, so the ratio of the stored amounts does not replace the box's own value.
    fields_[kRatioField] = openingText(box110Text, QStringLiteral("##,###,###,##0.0000"));
}

void Anexo110::change(int index, const QString &text)
{
    fields_.at(static_cast<size_t>(index)) = text;
    if (index == kRatioField || fields_[0].isEmpty() || fields_[1].isEmpty()) {
        return;
    }
    const double divisor = amountValue(fields_[1]);
    const double r = divisor == 0 ? 0 : amountValue(fields_[0]) / divisor;
    fields_[kRatioField] = formatNumber(r, QStringLiteral("##0.00"));
}

double Anexo110::accept(QString &mtoDet, QString &mtoNet)
{
    dTotal_ = ratioText(fields_[kRatioField]);
    mtoDet = fields_[0];
    mtoNet = fields_[1];
    return dTotal_;
}

} // namespace qz
