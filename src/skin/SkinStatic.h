#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "skin/SkinBitmap.h"
#include "skin/SkinCaption.h"

namespace tinyxml2 {
class XMLElement;
}

namespace velmora {

// A skinned static: its image at (0, 0) in its own size, then its captions.
class SkinStatic : public QWidget {
    Q_OBJECT
public:
    SkinStatic(QWidget* parent, int id, const QRect& rect, const tinyxml2::XMLElement* el);

    int Id() const { return id_; }
    // Sets the text of caption index; nothing when there is none.
    void SetCaptionText(int index, const std::string& text);
    std::string CaptionText(int index) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int id_;
    SkinBitmap image_;
    std::vector<SkinCaption> captions_;
};

}  // namespace velmora
