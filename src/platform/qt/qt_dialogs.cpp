#include "platform/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace tarmacia::platform::qt {

BoxButton QtDialogs::messageBox(const BoxRequest& request) {
    QMessageBox box(mainWindow_);
    switch (request.kind) {
    case BoxKind::Information: box.setIcon(QMessageBox::Information); break;
    case BoxKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case BoxKind::Error: box.setIcon(QMessageBox::Critical); break;
    }
    box.setWindowTitle(QString::fromStdString(request.title));
    QString text = QString::fromStdString(request.text);
    text.replace('\r', '\n');
    box.setText(text);
    box.setAccessibleName(box.windowTitle());

    QMessageBox::StandardButtons buttons;
    for (BoxButton b : request.buttons) {
        switch (b) {
        case BoxButton::Ok: buttons |= QMessageBox::Ok; break;
        case BoxButton::Cancel: buttons |= QMessageBox::Cancel; break;
        case BoxButton::Abort: buttons |= QMessageBox::Abort; break;
        case BoxButton::Yes: buttons |= QMessageBox::Yes; break;
        case BoxButton::None: break;
        }
    }
    box.setStandardButtons(buttons);
    if (auto* ok = box.button(QMessageBox::Ok); ok && !request.okCaption.empty())
        ok->setText(QString::fromStdString(request.okCaption));
    if (auto* cancel = box.button(QMessageBox::Cancel); cancel && !request.cancelCaption.empty())
        cancel->setText(QString::fromStdString(request.cancelCaption));
    for (auto* button : box.buttons()) button->setAccessibleName(button->text());

    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return BoxButton::Ok;
    case QMessageBox::Cancel: return BoxButton::Cancel;
    case QMessageBox::Abort: return BoxButton::Abort;
    case QMessageBox::Yes: return BoxButton::Yes;
    default: return BoxButton::None;
    }
}

} // namespace tarmacia::platform::qt
