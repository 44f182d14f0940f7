#include "picker/pictureclip.h"

#include "core/resources.h"

bool PictureClip::setPicture(const QByteArray &bmp)
{
    if (ModResFiles::DecodeImage(bmp, "BMP").isNull())
        return false;
    m_bmp = bmp;
    return true;
}

QImage PictureClip::cell(int row) const
{
    if (m_bmp.isEmpty() || row < 0 || row >= Rows)
        return QImage();
    // The whole strip lives only for this copy: it is freed as the cell is handed out.
    const QImage strip = ModResFiles::DecodeImage(m_bmp, "BMP");
    const int h = strip.height() / Rows;
    return strip.copy(0, row * h, strip.width(), h);
}
