// Keeps the declaration on the window as a draft file while it is typed, and offers a draft
// left by a crash when the same declaration is opened again.
//
// What gets a draft: a registered declaration opened through "&Modificar", and a new one once
// its taxpayer and a complete exercise are chosen and no stored declaration has that key. A
// sent declaration gets none: only its order number can be typed, and registering it closes
// the window at once.
//
// When: every change of the model marks the draft stale and starts a single-shot timer of
// kIntervalMs (not restarted by later changes), and the window flushes it when the focus
// moves and when it closes; so a crash loses at most the last kIntervalMs of typing inside
// one field. Writing on every keystroke would put a disk flush (QSaveFile syncs) into each
// key press. Nothing is written before the draft already on disk for the key was offered,
// so a crash's draft is never overwritten unseen.
#pragma once

#include "core/declaration/draft.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace qz {

class DeclarationModel;

class DraftKeeper final : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 500;

    // Drafts of model in folder (defaultDraftFolder() on screen; a test folder in tests).
    DraftKeeper(DeclarationModel &model, const QString &folder, QObject *parent = nullptr);

    void setFolder(const QString &folder) { folder_ = folder; }

    // After the model's open(): from now on changes are kept, and a draft already on disk
    // for the declaration is offered (at once when offerNow, else from the event loop).
    void start(bool offerNow = false);

    // The draft file of the declaration on the model; empty while it gets no draft.
    QString currentPath() const;

    // When a draft exists for the declaration and was not offered yet: asks whether to
    // restore it (with its time). Yes restores it through the model; No removes it. A draft
    // that cannot be read is removed without a question. True when a draft was restored.
    bool offerRestore();

    // Writes the draft now when the model changed since the last write.
    void flush();
    // True while a change waits to be written.
    bool stale() const { return stale_; }

    // After a save, or leaving without saving: removes the draft this window wrote or
    // restored. Later changes start a new one.
    void removeDraft();
    // The window is left: nothing is written any more.
    void stop();

    // The reason the last write failed; empty after a good one.
    const QString &lastError() const { return lastError_; }

private:
    void onChanged();
    void queueKeyCheck();
    void checkKey();
    DraftKey key() const;
    void remove(const QString &path);

    DeclarationModel &model_;
    QString folder_;
    QTimer timer_;
    bool started_ = false;
    bool stale_ = false;
    bool keyCheckQueued_ = false;
    QString offered_; // the file whose draft was offered (or found missing)
    QString owned_;   // the file this keeper wrote or restored from
    QString lastError_;
};

} // namespace qz
