#include "message_box.h"

#include <QMessageBox>
#include <QString>

#include "texts.h"

namespace karvelo {

Answer ShowMessageBox(QWidget* parent, const MessageRequest& request) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromStdString(request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(DisplayText(request.text)));
    box.setIcon(request.icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (request.buttons == Buttons::OK) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.exec();
        return Answer::OK;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(request.defaultButton == DefaultButton::First ? QMessageBox::Yes
                                                                       : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

}  // namespace karvelo
