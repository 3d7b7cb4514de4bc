// The box-110 assistant without widgets: the income subject to income tax (field 0), the total
// income of the previous exercise (field 1) and their ratio (field 2), which becomes box 110.
// The two amounts travel with the declaration window as its shared assistant amounts (mto_det
// and mto_net when saved); the assistant itself writes nothing.
#pragma once

#include <QString>

#include <array>

namespace qz {

class Anexo110 final {
public:
    static constexpr int kFields = 3;
    static constexpr int kRatioField = 2;
    // An amount while it is edited and after it is left.
    static constexpr const char *kEditPattern = "###########0";
    static constexpr int kEditLength = 12;

    // The opening: dTotal is box 110 read as "##0.00" (0 when empty); fields 0 and 1 are the
    // shared amounts formatted "###,###,###,##0" when they are numbers, else "0"; field 2 is
    // box 110 formatted "##,###,###,##0.0000" when it is a number, else "0". Field 2 keeps that
    // text until an amount changes.
    void load(const QString &box110Text, const QString &mtoDet, const QString &mtoNet);

    QString field(int index) const { return fields_.at(static_cast<size_t>(index)); }
    // A field's text changed. A change of field 0 or 1 with both non-empty sets field 2 to
    // their ratio formatted "##0.00" (0 when field 1 reads 0).
    void change(int index, const QString &text);

    // dTotal: the value taken at opening until accept() replaces it.
    double total() const { return dTotal_; }
    // "&Aceptar": dTotal becomes field 2 read as "##0.00"; the shared amounts become the texts
    // of fields 0 and 1. Returns dTotal.
    double accept(QString &mtoDet, QString &mtoNet);

private:
    std::array<QString, kFields> fields_;
    double dTotal_ = 0;
};

} // namespace qz
