#include "platform/Fonts.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace velmora {

void RegisterFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    for (const char* face : {"굴림", "돋움", "Gulim", "Dotum", "바탕", "맑은 고딕"})
        QFont::insertSubstitution(QString::fromUtf8(face), "NanumGothic");
    for (const char* face : {"굴림체", "돋움체", "GulimChe", "DotumChe"})
        QFont::insertSubstitution(QString::fromUtf8(face), "NanumGothicCoding");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Tahoma", "Liberation Sans");
}

QFont MakeFont(const std::string& face, int pixelHeight, int weight, bool italic, bool underline) {
    RegisterFontSubstitutions();
    QFont f(QString::fromStdString(face));
    f.setPixelSize(std::max(1, pixelHeight));
    // Skin weights run 100..900 like Qt's own scale.
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont CellSizedFont(const std::string& face, int cellHeight, int averageWidth, int weight) {
    constexpr int kProbe = 100;
    // The probe's measures depend on the face and weight alone, and each probe loads a font
    // engine through fontconfig: a skin asks for the same face at many sizes.
    struct Probe {
        double cell = 0;
        double averageWidth = 0;
    };
    static std::map<std::pair<std::string, int>, Probe> probes;
    auto [it, fresh] = probes.try_emplace({face, weight});
    if (fresh) {
        const QFontMetricsF metrics(MakeFont(face, kProbe, weight));
        it->second = {metrics.ascent() + metrics.descent(), metrics.averageCharWidth()};
    }
    const Probe& probe = it->second;
    const int em = std::max(1, static_cast<int>(std::lround(cellHeight * kProbe / probe.cell)));
    QFont font = MakeFont(face, em, weight);
    const double natural = probe.averageWidth * em / kProbe;
    if (averageWidth > 0 && natural > 0)
        font.setStretch(
            std::clamp(static_cast<int>(std::lround(100.0 * averageWidth / natural)), 1, 4000));
    return font;
}

}  // namespace velmora
