#include "platform/Prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace velmora {
namespace {

// Shows Qt's standard dialogs; the application replaces the pop-up with its skinned one.
class DialogPrompter : public Prompter {
public:
    int MessageBox(const std::string& text, const std::string& caption, int buttons) override {
        return Ask(QString::fromStdString(caption), QString::fromStdString(text), buttons);
    }
    int Popup(const std::string& markup, int buttons) override {
        return Ask(QApplication::applicationDisplayName(), QString::fromStdString(markup), buttons);
    }
    std::string OpenFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override {
        return QFileDialog::getOpenFileName(nullptr, QString::fromStdString(caption),
                                            QString::fromStdString(folder),
                                            QString::fromStdString(filter))
            .toStdString();
    }
    std::string SaveFileName(const std::string& caption, const std::string& suggested,
                             const std::string& filter) override {
        return QFileDialog::getSaveFileName(nullptr, QString::fromStdString(caption),
                                            QString::fromStdString(suggested),
                                            QString::fromStdString(filter))
            .toStdString();
    }

private:
    static int Ask(const QString& caption, const QString& text, int buttons) {
        QMessageBox box(QMessageBox::NoIcon, caption, text);
        if (buttons == kButtonsYesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        } else if (buttons == kButtonsOkCancel) {
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        switch (box.exec()) {
            case QMessageBox::Yes: return kAnswerYes;
            case QMessageBox::No: return kAnswerNo;
            case QMessageBox::Cancel: return kAnswerCancel;
            default: return buttons == kButtonsYesNo ? kAnswerNo : kAnswerOk;
        }
    }
};

DialogPrompter g_dialogPrompter;
Prompter* g_current = nullptr;

}  // namespace

Prompter& Prompter::Current() { return g_current ? *g_current : g_dialogPrompter; }

void Prompter::Install(Prompter* p) { g_current = p; }

int ScriptedPrompter::MessageBox(const std::string& text, const std::string&, int buttons) {
    asked_.push_back({"message", text, buttons});
    return Next(buttons);
}

int ScriptedPrompter::Popup(const std::string& markup, int buttons) {
    asked_.push_back({"popup", markup, buttons});
    return Next(buttons);
}

std::string ScriptedPrompter::OpenFileName(const std::string& caption, const std::string&,
                                           const std::string&) {
    asked_.push_back({"open", caption, 0});
    return NextFile();
}

std::string ScriptedPrompter::SaveFileName(const std::string& caption, const std::string&,
                                           const std::string&) {
    asked_.push_back({"save", caption, 0});
    return NextFile();
}

int ScriptedPrompter::Next(int buttons) {
    if (answers_.empty()) return buttons == kButtonsYesNo ? kAnswerYes : kAnswerOk;
    int a = answers_.front();
    answers_.pop_front();
    return a;
}

std::string ScriptedPrompter::NextFile() {
    if (files_.empty()) return {};
    std::string f = files_.front();
    files_.pop_front();
    return f;
}

}  // namespace velmora
