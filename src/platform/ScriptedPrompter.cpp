// The scripted prompter lives apart from Prompter.cpp: its print dialog needs Qt's printing,
// which the Qt-free programs do not link.
#include <QPrinter>

#include "platform/Prompter.h"

namespace velmora {

int ScriptedPrompter::MessageBox(const std::string& text, const std::string&, int buttons) {
    asked_.push_back({"message", text, buttons, {}, {}});
    return Next(buttons);
}

int ScriptedPrompter::Popup(const std::string& markup, int buttons) {
    asked_.push_back({"popup", markup, buttons, {}, {}});
    return Next(buttons);
}

std::string ScriptedPrompter::OpenFileName(const std::string& caption, const std::string& folder,
                                           const std::string&) {
    asked_.push_back({"open", caption, 0, folder, {}});
    return NextFile();
}

std::string ScriptedPrompter::FolderName(const std::string& caption, const std::string& folder) {
    asked_.push_back({"folder", caption, 0, folder, {}});
    return NextFile();
}

std::string ScriptedPrompter::SaveFileName(const std::string& caption, const std::string& suggested,
                                           const std::string&) {
    asked_.push_back({"save", caption, 0, suggested, {}});
    return NextFile();
}

int ScriptedPrompter::ChooseBoardSize(int suggested) {
    asked_.push_back({"size", std::to_string(suggested), 0, {}, {}});
    if (sizes_.empty()) return suggested;
    const int size = sizes_.front();
    sizes_.pop_front();
    return size;
}

int ScriptedPrompter::ChooseItem(const std::string& caption, const std::vector<std::string>&,
                                 const std::vector<std::vector<std::string>>& rows) {
    Asked asked{"choose", caption, 0, {}, {}};
    for (const std::vector<std::string>& row : rows) {
        std::string joined;
        for (const std::string& text : row) joined += (joined.empty() ? "" : " | ") + text;
        asked.items.push_back(joined);
    }
    asked_.push_back(std::move(asked));
    if (choices_.empty()) return rows.empty() ? -1 : 0;
    const int row = choices_.front();
    choices_.pop_front();
    return row;
}

bool ScriptedPrompter::PrintDialog(QPrinter& printer) {
    asked_.push_back({"print", {}, 0, {}, {}});
    if (files_.empty()) return false;
    const std::string path = NextFile();
    if (!path.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
    }
    return true;
}

void ScriptedPrompter::PrintPreview(QPrinter& printer,
                                    const std::function<void(QPrinter&)>& paint) {
    asked_.push_back({"preview", {}, 0, {}, {}});
    if (files_.empty()) return;
    const std::string path = NextFile();
    if (path.empty()) return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    paint(printer);
}

int ScriptedPrompter::Next(int buttons) {
    if (answers_.empty()) return buttons == kButtonsYesNo || buttons == kButtonsYesNoCancel ? kAnswerYes : kAnswerOk;
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
