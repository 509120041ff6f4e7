#pragma once

#include <QImage>
#include <functional>
#include <string>

namespace velmora {

// What an image tag of the mark-up asks for; the owner (the skin) decides where it comes from.
struct HtmlImageRequest {
    int tag = 0;           // kTagBitmap, kTagIcon or kTagImageList
    std::string file;      // `file`
    int idres = 0;         // `idres`: resource number
    std::string module;    // `srcdll` or `iddll`: another module holding the resource
    long long handle = 0;  // `handle`: an image the owner already holds
    int index = 0;         // `index`: image of an image list
    int speed = 0;         // `speed`: animation period of an image list (ms), 0 still
};

// Loads the image of a request; a null image draws nothing and takes no room.
using HtmlImageLoader = std::function<QImage(const HtmlImageRequest&)>;

// Installs the loader drawers use when they have none of their own (empty to remove).
void SetDefaultHtmlImageLoader(HtmlImageLoader loader);
// The loader installed by SetDefaultHtmlImageLoader (may be empty).
const HtmlImageLoader& DefaultHtmlImageLoader();

}  // namespace velmora
