// The model's state, its setters and the change handling that drives the chain.
#include "core/declaration/declarationmodel.h"

#include "core/components/doctypes.h"
#include "core/declaration/boxes.h"
#include "core/declaration/boxvalue.h"

namespace qz {

DeclarationModel::DeclarationModel(Database &db, Messenger &messenger, QObject *parent)
    : QObject(parent), db_(db), messenger_(messenger)
{
    for (int n : kBoxList) {
        BoxState s;
        switch (boxInfo(n)->kind) {
        case BoxKind::Computed:
            s.locked = true;
            s.color = BoxColor::Grey;
            break;
        case BoxKind::Assistant:
            s.locked = true;
            s.color = BoxColor::Cyan;
            break;
        case BoxKind::Hidden:
            s.visible = false;
            break;
        case BoxKind::Typed:
            break;
        }
        boxes_[n] = s;
        labels_[n] = QString::fromUtf8(boxInfo(n)->defaultLabel);
    }
    // Boxes 110 and 111 show only for a cooperative.
    boxes_[110].visible = false;
    boxes_[111].visible = false;
    // Box 143 is typed only once the credit option is answered "Si".
    boxes_[143].locked = true;
    boxes_[143].color = BoxColor::Grey;
    fechaCaption_ = QStringLiteral("Fecha de fusión :");
    cantidadCaption_ = QStringLiteral("Cantidad de empresas extinguidas por fusión :");
    reorgQuestion_ = QStringLiteral("¿Usted ha participado en un proceso de reorganización de "
                                    "sociedades entre el 01/01/ y la fecha de presentación de "
                                    "esta declaración?");
}

BoxState &DeclarationModel::state(int number)
{
    return boxes_[number];
}

const BoxState &DeclarationModel::box(int number) const
{
    static const BoxState kNone;
    const auto it = boxes_.find(number);
    return it == boxes_.end() ? kNone : it->second;
}

void DeclarationModel::setText(int number, const QString &text)
{
    if (!isWindowBox(number)) {
        return;
    }
    BoxState &s = state(number);
    if (s.text == text) {
        return;
    }
    s.text = text;
    emit boxChanged(number);
    onBoxChanged(number);
}

void DeclarationModel::setLocked(int number, bool locked, BoxColor color)
{
    BoxState &s = state(number);
    if (s.locked != locked || s.color != color) {
        s.locked = locked;
        s.color = color;
        emit boxChanged(number);
    }
}

void DeclarationModel::setEnabled(int number, bool enabled)
{
    BoxState &s = state(number);
    if (s.enabled != enabled) {
        s.enabled = enabled;
        emit boxChanged(number);
    }
}

void DeclarationModel::setVisible(int number, bool visible)
{
    BoxState &s = state(number);
    if (s.visible != visible) {
        s.visible = visible;
        emit boxChanged(number);
    }
}

void DeclarationModel::setMaxLength(int number, int length)
{
    state(number).maxLength = length;
}

bool DeclarationModel::vacio(int number) const
{
    return isEmptyBox(text(number));
}

double DeclarationModel::Vale(int number) const
{
    return vacio(number) ? 0 : boxNumber(text(number));
}

QString DeclarationModel::label(int number) const
{
    const auto it = labels_.find(number);
    return it == labels_.end() ? QString() : it->second;
}

QString DeclarationModel::field(Field f) const
{
    const auto it = fields_.find(f);
    return it == fields_.end() ? QString() : it->second;
}

void DeclarationModel::editField(Field f, const QString &text)
{
    if (f != Field::Periodo) {
        setField(f, text);
        return;
    }
    if (field(f) == text) {
        return;
    }
    fields_[f] = text;
    emit fieldChanged(f);
    exercisePending_ = true;
    markChanged();
}

void DeclarationModel::setField(Field f, const QString &text)
{
    if (field(f) == text) {
        return;
    }
    fields_[f] = text;
    emit fieldChanged(f);
    if (f == Field::Periodo) {
        onExerciseChanged();
    } else if (f == Field::FechaReorg) {
        onFechaChanged();
    }
}

QString DeclarationModel::answer(Answer a) const
{
    const auto it = answers_.find(a);
    return it == answers_.end() ? QString() : it->second;
}

void DeclarationModel::storeAnswerCode(Answer a, const QString &code)
{
    answers_[a] = code;
}

void DeclarationModel::chooseAnswer(Answer a, int index)
{
    answers_[a].clear();
    answers_[a] = index == 1 ? QStringLiteral("1") : QStringLiteral("0");
    emit answerChanged(a);
    applyAnswerEffects(a);
}

void DeclarationModel::setPageEnabled(int page, bool enabled)
{
    if (pages_[static_cast<size_t>(page)] != enabled) {
        pages_[static_cast<size_t>(page)] = enabled;
        emit pagesChanged();
    }
}

void DeclarationModel::setPaymentType(const QString &type)
{
    payment_.setPaymentType(type);
    emit paymentChanged();
}

void DeclarationModel::setPaymentAmount(const QString &amount)
{
    payment_.setAmount(amount);
    emit paymentChanged();
}

QString DeclarationModel::rucOfListText() const
{
    return taxpayerListText_.left(11).trimmed();
}

QString DeclarationModel::taxpayerRuc() const
{
    return run_.iModo == 0 ? rucOfListText() : rucField_;
}

void DeclarationModel::markChanged()
{
    if (!bCargando_) {
        algunCambio_ = true;
        emit changed();
    }
}

void DeclarationModel::setRun(const DeclarationRun &run)
{
    run_ = run;
}

void DeclarationModel::open(const OpenRequest &request)
{
    setPageEnabled(1, false);
    bCargando_ = true;
    pageMemory_ = 0;
    if (run_.bHistorico) {
        sRuc_ = request.ruc;
    }
    // The lists first: the identification selects its entries in them.
    representativeTypes_ = documentTypeEntries(db_, textUtility_, kRepresentativeTypeColumn, true);
    representativeType_.clear();
    representativeTypeIndex_ = -1;
    loadReorgTypes();
    zones_ = zoneEntries();
    emit listsLoaded();
    setPaymentType(PaymentState::noType());
    if (run_.iModo == 0) {
        pCargaIdent(QString(), QString(), QString());
    } else {
        pCargaIdent(request.ruc, request.razon, request.periodo);
    }
    if (run_.bHistorico) {
        setField(Field::NumOrden,
                 request.numOrden == QLatin1String("0") ? QString() : request.numOrden);
        payment_.setEnabledText(QStringLiteral("False"));
        emit paymentChanged();
    }
    bCargando_ = false;
    if (run_.bHistorico) {
        lockForSentView();
    }
    loadCompanies();
    algunCambio_ = false;
    loadedVersion_.reset();
    if (run_.iModo != 0 && !run_.bHistorico) {
        const QString ruc = taxpayerRuc().trimmed();
        const QString periodo = field(Field::Periodo).trimmed();
        try {
            loadedVersion_ =
                LoadedVersion{ruc, periodo, storedVersion(db_, ruc, periodo, sFormulario())};
        } catch (const DbError &) {
            // Unreadable now: the save reads it again and says so.
        }
    }
    CoefIni();
}

void DeclarationModel::lockForSentView()
{
    // A sent declaration is shown, not changed; box 105 stays open for its assistant's view.
    for (int n : kBoxList) {
        if (n != 105) {
            setLocked(n, true, BoxColor::Grey);
        }
    }
    setEnabled(101, false);
}

void DeclarationModel::setRatioAmounts(const QString &mtoDet, const QString &mtoNet)
{
    mtoDet_ = mtoDet;
    mtoNet_ = mtoNet;
}

void DeclarationModel::setCompanyTotals(const QString &base, const QString &impuesto,
                                        const QString &box115)
{
    totalBase_ = base;
    totalImpuesto_ = impuesto;
    setText(115, box115);
}

void DeclarationModel::chooseRepresentativeType(int index)
{
    if (index < 0 || index >= representativeTypes_.size()) {
        return;
    }
    representativeTypeIndex_ = index;
    representativeType_ = representativeTypes_[index];
    setText(225, entryTypeCode(representativeType_));
    setMaxLength(226, documentLength());
    algunCambio_ = true;
}

void DeclarationModel::selectRepresentativeType()
{
    // The entry whose code is box 225's; the last one when several match.
    if (vacio(225)) {
        return;
    }
    for (int i = 0; i < representativeTypes_.size(); ++i) {
        if (entryTypeCode(representativeTypes_[i]) == text(225).trimmed()) {
            representativeTypeIndex_ = i;
            representativeType_ = representativeTypes_[i];
        }
    }
}

int DeclarationModel::documentLength() const
{
    return entryNumberLength(representativeType_).trimmed().toInt();
}

int DeclarationModel::zoneIndex() const
{
    // The zone code sits in the entry's last two characters; the last match wins.
    int found = -1;
    if (vacio(209)) {
        return found;
    }
    for (int i = 0; i < zones_.size(); ++i) {
        if (zones_[i].right(2) == text(209).trimmed()) {
            found = i;
        }
    }
    return found;
}

QString DeclarationModel::shownZone(const QString &entry)
{
    if (entry.trimmed().isEmpty()) {
        return QString();
    }
    return entry.right(2) + QStringLiteral("  -  ") + entry.left(15).trimmed();
}

void DeclarationModel::chooseZone(int index)
{
    if (index < 0 || index >= zones_.size()) {
        return;
    }
    setText(209, zones_[index].right(2));
    algunCambio_ = true;
}

void DeclarationModel::show(MessageIcon icon, const QString &text)
{
    messenger_.show(icon, QString::fromLatin1(kCaption), text);
}

// The change handling of each box, in the order the chain defines.
void DeclarationModel::onBoxChanged(int number)
{
    switch (number) {
    case 101:
    case 104:
    case 105:
        Calcular105(QStringLiteral("105"));
        Calcular108();
        break;
    case 108:
        Calcular109();
        Calcular111_new();
        Calcular113();
        break;
    case 109:
    case 110:
        Calcular111_new();
        Calcular113();
        break;
    case 113:
        // A sent declaration keeps the tax it was sent with.
        if (!run_.bHistorico) {
            Calcular114();
        }
        Calcular139();
        break;
    case 114:
    case 115:
        Calcular139();
        break;
    case 139:
    case 142:
    case 143:
    case 144:
    case 145:
    case 161:
        Calcular161();
        Calcular146();
        if (number == 139) {
            paymentModalityRule();
        }
        break;
    case 160:
        Calcular161();
        break;
    case 180:
        paymentRule();
        break;
    case 208:
    case 211:
    case 212:
    case 226:
        entryChecks(number);
        break;
    default:
        break;
    }
    markChanged();
}

} // namespace qz
