// A dialog with a help topic: F1 asks for the topic's page (helpRequested), as in every window
// of declmod; the main window shows it.
#pragma once

#include <QDialog>

class QKeyEvent;

namespace qz {

class HelpDialog : public QDialog {
    Q_OBJECT
public:
    HelpDialog(int helpTopic, QWidget *parent);
    int helpTopic() const { return helpTopic_; }

signals:
    void helpRequested(int topic);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    int helpTopic_;
};

} // namespace qz
