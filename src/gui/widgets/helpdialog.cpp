// F1 in a dialog with a help topic.
#include "gui/widgets/helpdialog.h"

#include <QKeyEvent>

namespace qz {

HelpDialog::HelpDialog(int helpTopic, QWidget *parent) : QDialog(parent), helpTopic_(helpTopic) {}

void HelpDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(helpTopic_);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace qz
