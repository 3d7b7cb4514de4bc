// The draft's life beside the window: stale on change, written by the timer or a flush,
// offered once per declaration, removed after a save or on leaving without saving.
#include "core/declaration/draftkeeper.h"

#include "core/declaration/declarationmodel.h"
#include "core/declaration/draftstore.h"

#include <QFile>

namespace qz {

DraftKeeper::DraftKeeper(DeclarationModel &model, const QString &folder, QObject *parent)
    : QObject(parent), model_(model), folder_(folder)
{
    timer_.setSingleShot(true);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &DraftKeeper::flush);
    connect(&model, &DeclarationModel::changed, this, &DraftKeeper::onChanged);
    connect(&model, &DeclarationModel::boxChanged, this, &DraftKeeper::onChanged);
    connect(&model, &DeclarationModel::answerChanged, this, &DraftKeeper::onChanged);
    connect(&model, &DeclarationModel::reorgListChanged, this, &DraftKeeper::onChanged);
    connect(&model, &DeclarationModel::paymentChanged, this, &DraftKeeper::onChanged);
    connect(&model, &DeclarationModel::fieldChanged, this, [this](Field f) {
        onChanged();
        // A new declaration gets its key from the taxpayer (the name follows it) and the
        // exercise; the offer waits until the change handling under way has finished.
        if (f == Field::Razon || f == Field::Periodo) {
            queueKeyCheck();
        }
    });
    connect(&model, &DeclarationModel::periodShown, this, &DraftKeeper::queueKeyCheck);
}

void DraftKeeper::queueKeyCheck()
{
    if (started_ && !keyCheckQueued_) {
        keyCheckQueued_ = true;
        QTimer::singleShot(0, this, &DraftKeeper::checkKey);
    }
}

void DraftKeeper::start(bool offerNow)
{
    started_ = true;
    if (offerNow) {
        offerRestore();
    } else {
        queueKeyCheck();
    }
}

DraftKey DraftKeeper::key() const
{
    return {model_.sUsuario(), model_.taxpayerRuc().trimmed(), model_.sPeriodo(),
            model_.sFormulario()};
}

QString DraftKeeper::currentPath() const
{
    if (model_.bHistorico()) {
        return QString();
    }
    const DraftKey k = key();
    if (k.ruc.isEmpty() || k.exercise.size() != 4 || k.exercise.contains(u'_')) {
        return QString();
    }
    // A new declaration whose key names a stored one cannot be saved: "&Modificar" opens that.
    if (model_.iModo() == 0 && model_.existeDeclaracion() != QLatin1String("S")) {
        return QString();
    }
    return draftPath(folder_, model_.db().path(), k);
}

void DraftKeeper::onChanged()
{
    if (!started_) {
        return;
    }
    stale_ = true;
    if (!timer_.isActive()) {
        timer_.start();
    }
}

void DraftKeeper::checkKey()
{
    keyCheckQueued_ = false;
    if (started_) {
        offerRestore();
    }
}

bool DraftKeeper::offerRestore()
{
    const QString path = currentPath();
    if (path.isEmpty() || path == offered_) {
        return false;
    }
    offered_ = path;
    if (path == owned_ || !QFile::exists(path)) {
        return false;
    }
    bool restored = false;
    const std::optional<QByteArray> text = readDraftFile(path);
    const std::optional<DeclarationDraft> draft = text ? draftFromJson(*text) : std::nullopt;
    // A draft that cannot be read, or of another declaration, is of no use to anyone.
    if (draft && draft->key == key()) {
        const QString question =
            QStringLiteral("Se encontró un borrador del %1. ¿Desea recuperarlo?")
                .arg(draft->written.toString(QStringLiteral("dd/MM/yyyy hh:mm")));
        if (model_.messenger().show(
                MessageIcon::Question, QString::fromLatin1(DeclarationModel::kCaption), question,
                MessageButtons::YesNo, MessageAnswer::Yes) == MessageAnswer::Yes) {
            model_.restoreDraft(*draft);
            owned_ = path;
            restored = true;
        }
    }
    if (!restored) {
        remove(path);
    }
    // Changes made before the offer were held back for it.
    if (stale_ && !timer_.isActive()) {
        timer_.start();
    }
    return restored;
}

void DraftKeeper::flush()
{
    timer_.stop();
    if (!started_ || !stale_) {
        return;
    }
    const QString path = currentPath();
    if (path.isEmpty()) {
        return; // stays stale: written once the declaration has its key
    }
    if (path != offered_) {
        // The draft a crash left comes first; never asked from here, as a flush also runs
        // while the window is destroyed.
        queueKeyCheck();
        return;
    }
    if (!model_.algunCambio()) {
        stale_ = false; // nothing unsaved: the declaration on the window is the stored one
        return;
    }
    DeclarationDraft draft;
    try {
        draft = captureDraft(model_, key());
    } catch (const DbError &e) {
        lastError_ = e.description();
        timer_.start(); // the scratch list may be locked for a moment: try again
        return;
    }
    if (!writeDraftFile(path, draftToJson(draft), &lastError_)) {
        return; // stays stale: the next change tries again, the last good draft stays
    }
    if (!owned_.isEmpty() && owned_ != path) {
        remove(owned_); // a new declaration's key changed: the work moved with it
    }
    owned_ = path;
    stale_ = false;
    lastError_.clear();
}

void DraftKeeper::removeDraft()
{
    timer_.stop();
    stale_ = false;
    if (!owned_.isEmpty()) {
        remove(owned_);
        owned_.clear();
    }
}

void DraftKeeper::stop()
{
    timer_.stop();
    started_ = false;
    stale_ = false;
}

void DraftKeeper::remove(const QString &path)
{
    QFile::remove(path);
}

} // namespace qz
