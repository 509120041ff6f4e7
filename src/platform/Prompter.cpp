#include "platform/Prompter.h"

#include <iostream>

namespace velmora {
namespace {

// With no window system linked in, a question is a line on standard error and gets its first
// button; no file is chosen.
class StderrPrompter : public Prompter {
public:
    int MessageBox(const std::string& text, const std::string&, int buttons) override {
        std::cerr << text << "\n";
        return buttons == kButtonsYesNo || buttons == kButtonsYesNoCancel ? kAnswerYes : kAnswerOk;
    }
    int Popup(const std::string& markup, int buttons) override { return MessageBox(markup, {}, buttons); }
    std::string OpenFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string SaveFileName(const std::string&, const std::string&, const std::string&) override { return {}; }
    int ChooseItem(const std::string& caption, const std::vector<std::string>&,
                   const std::vector<std::vector<std::string>>& rows) override {
        std::cerr << caption << "\n";
        return rows.empty() ? -1 : 0;
    }
};

Prompter* g_current = nullptr;
Prompter* g_fallback = nullptr;

}  // namespace

Prompter& Prompter::Current() {
    if (g_current) return *g_current;
    return g_fallback ? *g_fallback : StandardError();
}

Prompter& Prompter::StandardError() {
    static StderrPrompter stderrPrompter;
    return stderrPrompter;
}

void Prompter::Install(Prompter* p) { g_current = p; }

void Prompter::SetFallback(Prompter* p) { g_fallback = p; }

}  // namespace velmora
