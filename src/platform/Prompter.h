#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QPrinter;

namespace velmora {

// Button sets of a question, and the answers they give.
enum PromptButtons { kButtonsOk = 0, kButtonsOkCancel = 1, kButtonsYesNoCancel = 3, kButtonsYesNo = 4 };
enum PromptAnswer { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// Every modal question the program asks goes through one Prompter: the real one shows
// dialogs, tests install a scripted one so that no test ever waits on a dialog.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A plain system message box with a fixed text; returns the answer (kAnswer…).
    virtual int MessageBox(const std::string& text, const std::string& caption, int buttons) = 0;
    // The program's own question or notice with mark-up text; returns the answer.
    virtual int Popup(const std::string& markup, int buttons) = 0;
    // Whether to save unsaved work before it gives way, under title → kAnswerYes (save first),
    // kAnswerNo (let it go) or kAnswerCancel (stay, also when dismissed). Prompters without a
    // box of their own ask it as a Yes/No/Cancel pop-up.
    virtual int SaveFirst(const std::string& title, const std::string& markup) {
        (void)title;
        return Popup(markup, kButtonsYesNoCancel);
    }
    // A file to open or to save to; empty when the user cancels. filter as in Qt ("기보 (*.sgf)").
    virtual std::string OpenFileName(const std::string& caption, const std::string& folder,
                                     const std::string& filter) = 0;
    virtual std::string SaveFileName(const std::string& caption, const std::string& suggested,
                                     const std::string& filter) = 0;
    // Files to open, several at once where the dialog allows it; empty when the user cancels.
    // Prompters that ask for one file at a time give that one.
    virtual std::vector<std::string> OpenFileNames(const std::string& caption,
                                                   const std::string& folder,
                                                   const std::string& filter) {
        std::string one = OpenFileName(caption, folder, filter);
        if (one.empty()) return {};
        return {std::move(one)};
    }
    // A folder to use, starting in folder; empty when the user cancels or there is no one to ask.
    virtual std::string FolderName(const std::string& caption, const std::string& folder) {
        (void)caption;
        (void)folder;
        return {};
    }
    // One row chosen from rows (each its texts under columns, as many as columns) under caption
    // → the row's index, or −1 when the user cancels. Prompters with no one to ask take row 0.
    virtual int ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                           const std::vector<std::vector<std::string>>& rows) = 0;
    // The number of lines of a new record's board, suggested first → 2..25, or 0 when the user
    // cancels. Prompters with no one to ask take the suggestion.
    virtual int ChooseBoardSize(int suggested) { return suggested; }
    // The system print dialog for printer → false when the user cancels. Prompters that
    // cannot show one answer false.
    virtual bool PrintDialog(QPrinter& printer) { (void)printer; return false; }
    // Shows the pages paint draws on printer before they are printed (the user may print them
    // from there). Prompters that cannot show them do nothing.
    virtual void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
        (void)printer;
        (void)paint;
    }

    // The prompter in use; never null: the installed one, else the fallback (Qt's dialogs when
    // the program links them), else one that writes to standard error.
    static Prompter& Current();
    // Installs p (not owned) as the current prompter; nullptr restores the fallback.
    static void Install(Prompter* p);
    // Sets the prompter used while none is installed (not owned); nullptr for standard error.
    static void SetFallback(Prompter* p);
    // The prompter for a run with no one to ask: each question is a line on standard error and
    // gets its first button; no file is chosen.
    static Prompter& StandardError();
};

// Answers from a script, and remembers what was asked. With the script empty, a question
// gets its first button (OK or Yes) and a file dialog is cancelled.
class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        std::string kind;  // "message", "popup", "open", "save", "print", "choose", "size", "folder"
        std::string text;
        int buttons = 0;
        std::string folder;  // where a file dialog was to start
        std::vector<std::string> items;  // a choice's rows, each its texts joined by " | "
    };

    ScriptedPrompter() { Install(this); }
    ~ScriptedPrompter() override { Install(nullptr); }

    void Answer(int answer) { answers_.push_back(answer); }
    void AnswerFile(const std::string& path) { files_.push_back(path); }
    // The row the next choice takes (−1 cancels it); with none scripted it takes row 0.
    void AnswerChoice(int row) { choices_.push_back(row); }
    // The size the next board-size question takes (0 cancels it); with none scripted it takes
    // the suggestion.
    void AnswerSize(int size) { sizes_.push_back(size); }
    const std::vector<Asked>& asked() const { return asked_; }
    void Clear() { asked_.clear(); }

    int MessageBox(const std::string& text, const std::string& caption, int buttons) override;
    int Popup(const std::string& markup, int buttons) override;
    std::string OpenFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    std::string SaveFileName(const std::string& caption, const std::string& suggested,
                             const std::string& filter) override;
    int ChooseItem(const std::string& caption, const std::vector<std::string>& columns,
                   const std::vector<std::vector<std::string>>& rows) override;
    int ChooseBoardSize(int suggested) override;
    // Asks "folder"; takes the next scripted file (none: cancelled).
    std::string FolderName(const std::string& caption, const std::string& folder) override;
    // Prints to the next scripted file as a PDF (an empty name leaves the printer as it is);
    // cancels with the file script empty.
    bool PrintDialog(QPrinter& printer) override;
    // Asks "preview"; with a file queued, paints the pages into it as a PDF.
    void PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

private:
    int Next(int buttons);
    std::string NextFile();

    std::deque<int> answers_;
    std::deque<std::string> files_;
    std::deque<int> choices_;
    std::deque<int> sizes_;
    std::vector<Asked> asked_;
};

}  // namespace velmora
