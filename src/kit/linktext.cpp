#include "linktext.h"

#include "conventions.h"

#include <QMouseEvent>

LinkText::LinkText(const QString &name, const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setObjectName(name);
    QFont font = Look::tahoma(14);
    font.setUnderline(true);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setColour(Look::DarkBlue);
    adjustSize();
}

void LinkText::setColour(QRgb colour)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, QColor::fromRgba(colour));
    setPalette(p);
}

QColor LinkText::colour() const
{
    return palette().color(QPalette::WindowText);
}

void LinkText::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit pressed();
    event->accept();
}

void LinkText::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    emit released();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    event->accept();
}

LinkPictureWatcher::LinkPictureWatcher(QWidget *picture) : QObject(picture)
{
    picture->installEventFilter(this);
}

bool LinkPictureWatcher::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            if (event->type() == QEvent::MouseButtonPress)
                emit pressed();
            else
                emit released();
        }
    }
    return false;
}
