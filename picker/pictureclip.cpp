#include "picker/pictureclip.h"

QImage PictureClip::cell(int row) const
{
    if (m_strip.isNull() || row < 0 || row >= Rows)
        return QImage();
    const int h = m_strip.height() / Rows;
    return m_strip.copy(0, row * h, m_strip.width(), h);
}
