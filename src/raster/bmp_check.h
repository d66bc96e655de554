#pragma once

#include <QByteArray>
#include <QImage>

namespace letterloom::raster {

// Decodes BMP bytes after proving their headers against the bytes that are
// really there: the platform's decoder alone accepts a file whose pixel data is
// cut short (and shows whatever memory held) and trusts a tiny file that claims
// a huge size. Anything that does not add up throws "Bitmap image is not valid".
// A run-length picture may leave pixels out (they decode as colour 0), but
// no more than 1 Mi of them beyond as many as it sets.
// The size fields that other tools fill loosely (the file size, the image size)
// and bytes after the pixel data are not held against a picture.
QImage loadCheckedBmp(const QByteArray &bytes);

// Lets the platform's image readers hold the largest picture the program
// allows (16-bit channels included); our own checks set the real bounds.
// Called before every decode of checked bytes.
void allowLargestPictures();

}  // namespace letterloom::raster
