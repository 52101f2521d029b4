#include "picturewidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

PictureButton::PictureButton(const QString &name, const QString &picture, QWidget *parent) : QAbstractButton(parent)
{
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setPicture(picture);
}

void PictureButton::setPicture(const QString &picture)
{
    m_picture = picture;
    m_rendered = QImage();
    update();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    if (m_rendered.size() != size() && !m_picture.isEmpty())
        m_rendered = renderPicture(m_picture, size());
    QPainter painter(this);
    painter.drawImage(0, 0, m_rendered);
    if (isDown())
        painter.fillRect(rect(), QColor(0, 0, 0, 40));
}

QImage renderPicture(const QString &picture, const QSize &size, const QColor &ground)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (picture.endsWith(QLatin1String(".svg")))
        QSvgRenderer(picture).render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    else
        p.drawImage(QRect(QPoint(0, 0), size), QImage(picture));
    return image;
}

QRect fitPicture(const QSize &picture, const QSize &box)
{
    if (picture.isEmpty() || box.isEmpty())
        return QRect();
    QSize shown = picture;
    if (picture.width() > box.width() || picture.height() > box.height())
        shown = picture.scaled(box, Qt::KeepAspectRatio);
    shown = shown.expandedTo(QSize(1, 1));
    return QRect(QPoint((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2), shown);
}

PictureBox::PictureBox(const QString &name, QWidget *parent) : QWidget(parent)
{
    setObjectName(name);
}

void PictureBox::setImage(const QImage &image)
{
    setImage(image, QByteArray());
}

void PictureBox::setImage(const QImage &image, const QByteArray &sourceJpeg)
{
    m_image = image;
    m_sourceJpeg = sourceJpeg;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(fitPicture(m_image.size(), size()), m_image);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
