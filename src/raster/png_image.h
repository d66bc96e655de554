#pragma once

#include <QByteArray>
#include <QImage>

namespace letterloom::raster {

// PNG pictures: the pages of other tools' bitmap fonts, and any picture
// the program reads or writes as PNG.
//
// The platform's decoder is handed only bytes whose chunk structure adds up:
// the signature, every chunk complete within the bytes, the header chunk
// first with a size the program can hold, and the end chunk present. So a
// cut-short file or one that claims a huge picture throws
// "PNG image is not valid" before any pixels are allocated. The image comes
// back as Format_ARGB32 (straight alpha).
QImage decodePng(const QByteArray &bytes);

// The picture size that checked PNG bytes announce, without decoding them.
QSize pngSize(const QByteArray &bytes);

// PNG bytes of an image, alpha channel included.
QByteArray encodePng(const QImage &image);

}  // namespace letterloom::raster
