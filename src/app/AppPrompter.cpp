#include "app/AppPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/MainWindow.h"
#include "app/MessagePopup.h"

namespace velmora {
namespace {

QWidget* Owner() { return MainWindow::Instance(); }

}  // namespace

int AppPrompter::MessageBox(const std::string& text, const std::string& caption, int buttons) {
    QMessageBox box(QMessageBox::NoIcon,
                    caption.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::NoButton, Owner());
    if (buttons == kButtonsYesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    else if (buttons == kButtonsOkCancel)
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    else
        box.setStandardButtons(QMessageBox::Ok);
    switch (box.exec()) {
        case QMessageBox::Yes: return kAnswerYes;
        case QMessageBox::No: return kAnswerNo;
        case QMessageBox::Cancel: return kAnswerCancel;
        case QMessageBox::Ok: return kAnswerOk;
        default: return MessagePopup::Answer(buttons, false);
    }
}

int AppPrompter::Popup(const std::string& markup, int buttons) { return RunMessagePopup(markup, buttons, Owner()); }

std::string AppPrompter::OpenFileName(const std::string& caption, const std::string& folder,
                                      const std::string& filter) {
    return QFileDialog::getOpenFileName(Owner(), QString::fromStdString(caption), QString::fromStdString(folder),
                                        QString::fromStdString(filter))
        .toStdString();
}

std::string AppPrompter::SaveFileName(const std::string& caption, const std::string& suggested,
                                      const std::string& filter) {
    return QFileDialog::getSaveFileName(Owner(), QString::fromStdString(caption), QString::fromStdString(suggested),
                                        QString::fromStdString(filter))
        .toStdString();
}

}  // namespace velmora
