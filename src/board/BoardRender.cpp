#include "board/BoardRender.h"

#include <QImageWriter>

#include "board/BoardCanvas.h"

namespace velmora {

QImage RenderBoardImage(const BoardLogic& logic, const RenderOptions& options) {
    if (options.width <= 0 || options.height <= 0) return {};
    // A canvas of its own, not installed as the logic's view: it reads the logic and draws once.
    BoardCanvas canvas(logic);
    if (!canvas.LoadImages()) return {};
    canvas.SetBackground(options.background);
    canvas.SetClientSize(options.width, options.height);
    canvas.Relayout();
    return canvas.BackBuffer().image();
}

bool RenderPositionPng(const BoardLogic& logic, const RenderOptions& options, const std::string& path) {
    const QImage image = RenderBoardImage(logic, options);
    if (image.isNull()) return false;
    QImageWriter writer(QString::fromStdString(path), "png");
    return writer.write(image);
}

}  // namespace velmora
