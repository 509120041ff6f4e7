#pragma once

#include <string>
#include <utility>

#include "platform/Prompter.h"

class QWidget;

namespace velmora {

// Asks with Qt's standard dialogs over Owner(); the pop-up is a plain message box as well.
class DialogPrompter : public Prompter {
public:
    // defaultCaption captions message boxes asked without one (the application's name if empty).
    explicit DialogPrompter(std::string defaultCaption = {}) : defaultCaption_(std::move(defaultCaption)) {}

    // A message box with the buttons; an empty caption shows the default caption.
    int MessageBox(const std::string& text, const std::string& caption, int buttons) override;
    // The mark-up in a message box with the default caption.
    int Popup(const std::string& markup, int buttons) override;
    std::string FolderName(const std::string& caption, const std::string& folder) override;
    std::string OpenFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    std::vector<std::string> OpenFileNames(const std::string& caption, const std::string& folder,
                                           const std::string& filter) override;
    std::string SaveFileName(const std::string& caption, const std::string& suggested,
                             const std::string& filter) override;
    // A list with a column each, OK and Cancel; a double-click chooses as OK does.
    int ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows) override;
    // Qt's print dialog: the desktop's printers and printing to a PDF file.
    bool PrintDialog(QPrinter& printer) override;
    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

protected:
    // The window the dialogs belong to; null for none.
    virtual QWidget* Owner() const { return nullptr; }

private:
    std::string defaultCaption_;
};

}  // namespace velmora
