#pragma once

// Window files and bitmaps written by a test into a temporary folder that is the current
// directory while the test runs (skin files are looked up relative to it).

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>

#include "platform/Prompter.h"
#include "skin/ResourceArchive.h"
#include "skin/SkinResources.h"

namespace velmora::testing {

class SkinFolder {
public:
    SkinFolder() : old_(QDir::currentPath()) {
        QDir::setCurrent(dir_.path());
        ResourceArchive::Instance().Clear();
        SkinResources::Instance().Clear();
    }
    ~SkinFolder() {
        QDir::setCurrent(old_);
        ResourceArchive::Instance().Clear();
        SkinResources::Instance().Clear();
    }
    // Writes text to the relative path name.
    void Write(const std::string& name, const std::string& text) {
        const QString path = dir_.filePath(QString::fromStdString(name));
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text.data(), static_cast<qint64>(text.size()));
    }
    // Saves img as a BMP where the bitmap lookup finds name.
    void WriteBitmap(const std::string& name, const QImage& img) {
        const QString path = dir_.filePath("Resource/" + QString::fromStdString(name));
        QDir().mkpath(QFileInfo(path).path());
        img.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    }
    // A window document: <Window attrs>body</Window>.
    static std::string Window(const std::string& attrs, const std::string& body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Window " + attrs + ">" + body + "</Window>";
    }
    ScriptedPrompter prompter;

private:
    QTemporaryDir dir_;
    QString old_;
};

// The Position and Size children of an element.
inline std::string Pos(int x, int y, int w, int h) {
    return "<Position x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"/><Size w=\"" +
           std::to_string(w) + "\" h=\"" + std::to_string(h) + "\"/>";
}

// An image of four stacked frames of w × h, in the colours c0..c3.
inline QImage FourFrames(int w, int h, const unsigned (&c)[4]) {
    QImage img(w, 4 * h, QImage::Format_RGB32);
    for (int k = 0; k < 4; ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) img.setPixel(x, k * h + y, 0xFF000000u | c[k]);
    return img;
}

// The colour at (x, y) of the widget's rendering, as 0xRRGGBB.
template <class W>
unsigned PixelOf(W& w, int x, int y) {
    return w.grab().toImage().pixel(x, y) & 0xFFFFFFu;
}

}  // namespace velmora::testing
