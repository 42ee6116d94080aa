#pragma once
// Compiled-in images: the icons of the Plotter's tool buttons.
//
// The pictures are kept as editable text pixel maps (XPM files in icons/); at build time a
// small generator compresses them into one static table of EmbeddedImage records, so that a
// viewer program needs no image files beside it. The table ends with a record whose data
// pointer is null. Each record's data is in qCompress layout: a 4-byte big-endian count of
// uncompressed bytes, then a zlib stream of width x height 32-bit ARGB pixels, row by row from
// the top, in the machine's byte order.
//
//   QImage icon = findEmbeddedImage("zoomin.png");          // straight from the table
//   QPixmap p = EmbeddedImageFactory::instance().pixmap("save.png"); // decoded once, cached

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRgb>
#include <QString>

struct EmbeddedImage {
    int width;
    int height;
    int depth; // bits per pixel: 32
    const unsigned char* data; // compressed pixels; null ends the table
    unsigned long compressedSize;
    int colourCount; // 0: true-colour pixels
    const QRgb* colourTable; // null: true-colour pixels
    bool alpha; // the pixels' alpha channel must be honoured
    const char* name; // UTF-8 name the image is found under
};

// The table, generated at build time from icons/*.xpm.
extern const EmbeddedImage embeddedImages[];

// The image whose name equals name exactly (letter case counts); a null image when the table
// holds no such name or its data do not decompress to a full picture.
QImage findEmbeddedImage(const QString& name);

// A name -> image cache over the table: an image is decoded on its first request and served
// from the cache afterwards. One instance lives from its first use to program exit; use it from
// the GUI thread only.
class EmbeddedImageFactory {
public:
    static EmbeddedImageFactory& instance();

    // The image registered under name, registering it from the table on the first request; a
    // null image for a null name or a name the table does not hold.
    QImage image(const QString& name);
    QPixmap pixmap(const QString& name);

    // Registers image under name, replacing what was there.
    void setImage(const QString& name, const QImage& image);

private:
    EmbeddedImageFactory() = default;
    QHash<QString, QImage> images_;
};
