#include <zlib.h>

// Qt's PDF writer deflates each page's drawing at zlib's default level. For a long record
// split into diagrams that was a third of the time of `velmora-cli print`; the fastest level
// takes a third of that and writes PDF files some 15% larger, with the same pages.
//
// This definition stands before zlib's own for every library of this program that opens a
// stream with deflateInit() (the PDF writer does; PNG and zip writers open theirs with
// deflateInit2_ and keep their levels). Should the PDF writer ever open its streams another
// way, it simply keeps zlib's default.
extern "C" int deflateInit_(z_streamp stream, int /*level*/, const char* version, int streamSize) {
    constexpr int kDefaultMemoryLevel = 8;  // what deflateInit() itself passes on
    return deflateInit2_(stream, Z_BEST_SPEED, Z_DEFLATED, MAX_WBITS, kDefaultMemoryLevel,
                         Z_DEFAULT_STRATEGY, version, streamSize);
}
