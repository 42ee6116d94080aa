#include "embeddedimages.h"

#include <QByteArray>

namespace {

constexpr int bytesPerPixel = 4;

} // namespace

QImage findEmbeddedImage(const QString& name)
{
    for (const EmbeddedImage* record = embeddedImages; record->data; ++record) {
        if (QString::fromUtf8(record->name) != name)
            continue;
        const QByteArray pixels
            = qUncompress(record->data, static_cast<qsizetype>(record->compressedSize));
        const qsizetype rowBytes = qsizetype { record->width } * bytesPerPixel;
        if (record->depth != 8 * bytesPerPixel || pixels.size() != rowBytes * record->height)
            return {};
        // ARGB words in the machine's byte order are exactly QImage's 32-bit formats. The image
        // is copied off the temporary buffer before that goes.
        const QImage view(reinterpret_cast<const uchar*>(pixels.constData()), record->width,
            record->height, rowBytes, record->alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        return view.copy();
    }
    return {};
}

EmbeddedImageFactory& EmbeddedImageFactory::instance()
{
    static EmbeddedImageFactory factory;
    return factory;
}

QImage EmbeddedImageFactory::image(const QString& name)
{
    if (name.isNull())
        return {};
    if (const auto cached = images_.constFind(name); cached != images_.cend())
        return *cached;
    const QImage found = findEmbeddedImage(name);
    if (!found.isNull())
        setImage(name, found);
    return images_.value(name);
}

QPixmap EmbeddedImageFactory::pixmap(const QString& name)
{
    return QPixmap::fromImage(image(name));
}

void EmbeddedImageFactory::setImage(const QString& name, const QImage& image)
{
    images_.insert(name, image);
}
