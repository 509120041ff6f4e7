// skin-demo [--folder DIR] [--size WxH] [--screenshot FILE.png]
// Shows Skin\Demo\DemoWnd.xml from the program folder's Resource.bk2 (DIR, by default the
// build's program folder). With --screenshot the window is rendered to FILE and the demo ends.

#include <QApplication>
#include <QDir>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "platform/Prompter.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinButton.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindow.h"

namespace velmora {
namespace {

enum : int {
    kClose = 100,
    kOk = 101,
    kCancel = 102,
    kName = 300,
    kGrade = 301,
    kTabFirst = 310,
    kTabLast = 312,
    kMoveFirst = 320,
    kMoveLast = 325,
    kLog = 330,
    kSparkle = 340,
    kProgress = 20,
    kNotice = 21,
    kStatus = 22,
};

class DemoWindow : public SkinWindow {
public:
    DemoWindow() { SetSkinFile("Skin\\Demo\\DemoWnd.xml"); }

protected:
    void OnSkinBuilt() override {
        SetShapeText(kNotice, "반짝이는 그림은 애니메이션 모양");
        SetShapeText(kStatus, "버튼 위에 마우스를 올려 보세요.");
        SetControlText(kName, "이세돌");
        SetProgressValue(kProgress, 60);
        if (auto* b = FindControlAs<SkinAniButton>(kSparkle)) {
            b->SetCaptionText(0, "반짝임");
            b->SetAnimating(true);
        }
        Log("스킨 창을 만들었습니다.");
    }
    void onCommand(int id) override {
        if (id == kClose || id == kCancel) {
            close();
        } else if (id == kOk) {
            Log("확인: " + GetControlText(kName) + " (" + GetControlText(kGrade) + ")");
        } else if (id >= kTabFirst && id <= kTabLast) {
            Log("보기 방식 " + std::to_string(id - kTabFirst + 1) + "번을 골랐습니다.");
        } else if (id >= kMoveFirst && id <= kMoveLast) {
            static const int steps[] = {0, 20, 45, 55, 80, 100};
            SetProgressValue(kProgress, steps[id - kMoveFirst]);
        } else if (id == kSparkle) {
            if (auto* b = FindControlAs<SkinAniButton>(kSparkle)) b->SetAnimating(true);
        }
    }
    void onNotify(int id, int code) override {
        if (id == kGrade && code == kCmdSelChanged) Log("급수: " + GetControlText(kGrade));
    }
    bool onMessage(int message, std::intptr_t wParam, std::intptr_t) override {
        if (message != UM_BUTTON_HOVER) return false;
        SetShapeText(kStatus, "버튼 " + std::to_string(wParam) + " 위에 있습니다.");
        return true;
    }

private:
    void Log(const std::string& line) {
        if (auto* t = FindControlAs<QTextEdit>(kLog)) t->append(QString::fromStdString(line));
    }
};

}  // namespace
}  // namespace velmora

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string folder = VELMORA_BIN_DIR, screenshot, size;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--folder") folder = argv[i + 1];
        else if (opt == "--screenshot") screenshot = argv[i + 1];
        else if (opt == "--size") size = argv[i + 1];
    }
    if (!screenshot.empty()) screenshot = QDir::current().absoluteFilePath(QString::fromStdString(screenshot)).toStdString();
    using namespace velmora;
    // Rendering to a picture must not stop at a message box: note the messages instead.
    std::unique_ptr<ScriptedPrompter> quiet;
    if (!screenshot.empty()) quiet = std::make_unique<ScriptedPrompter>();
    RegisterFontSubstitutions();
    QDir::setCurrent(QString::fromStdString(folder));
    ResourceArchive::Instance().AddArchive("Resource.bk2");
    SkinResources::Instance().LoadAll();
    SetTooltipsEnabled(true);

    DemoWindow window;
    if (!window.CreateFromSkin(0, "스킨 데모")) {
        std::fprintf(stderr, "skin-demo: Skin\\Demo\\DemoWnd.xml could not be read in %s\n", folder.c_str());
        return 1;
    }
    int w = 0, h = 0;
    if (std::sscanf(size.c_str(), "%dx%d", &w, &h) == 2) window.resize(w, h);  // shows the anchoring
    window.show();
    if (screenshot.empty()) return app.exec();

    // Let the animation run a few steps, then take the picture.
    QTimer::singleShot(700, [&] {
        const bool ok = window.grab().save(QString::fromStdString(screenshot));
        for (const auto& a : quiet->asked()) std::fprintf(stderr, "skin-demo: %s\n", a.text.c_str());
        std::printf("%s %s\n", ok ? "wrote" : "could not write", screenshot.c_str());
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
