#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

/// A command drawn as a picture (an icon or a picture button), with a hand
/// cursor; clicking it emits clicked().
class PictureButton : public QAbstractButton
{
    Q_OBJECT
public:
    PictureButton(const QString &name, const QString &picture, QWidget *parent);

    void setPicture(const QString &picture);
    QString picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QString m_picture;
    QImage m_rendered;
};

/// Draws a picture of the program (an SVG or bitmap under ":/assets/", or any
/// path) at the given size, on ground (transparent by default).
QImage renderPicture(const QString &picture, const QSize &size, const QColor &ground = Qt::transparent);

/// Where a picture of the given size sits in a box: reduced to fit, keeping
/// its proportions, when larger than the box in either dimension, never
/// enlarged, and centred either way.
QRect fitPicture(const QSize &picture, const QSize &box);

/// A picture box that shows its picture by the fitting rule. It keeps the
/// picture as given, so copying it to another box or writing it to a file
/// uses the full picture, not the reduced one on screen.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    PictureBox(const QString &name, QWidget *parent);

    void setImage(const QImage &image);
    QImage image() const { return m_image; }

    /// The encoded bytes the picture was read from, when it came unchanged
    /// from a JPEG file; empty otherwise. Setting a new picture clears them.
    QByteArray sourceJpeg() const { return m_sourceJpeg; }
    void setImage(const QImage &image, const QByteArray &sourceJpeg);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    QByteArray m_sourceJpeg;
};
