#pragma once

#include <QAbstractButton>
#include <QLabel>

/// The link text of the help, about and splash windows: Tahoma 14
/// underlined, DarkBlue, with a hand cursor. It reports the mouse button
/// going down and up on it, and a click (button released over it); the
/// window colours it and opens its target in its own handlers.
class LinkText : public QLabel
{
    Q_OBJECT
public:
    LinkText(const QString &name, const QString &text, QWidget *parent);

    /// Sets the colour of the text (DarkBlue at rest, Orange while pressed).
    void setColour(QRgb colour);
    QColor colour() const;

signals:
    void pressed();
    void released();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

/// Reports the mouse button going down and up on a picture, wherever the
/// button is let go (a button's own released() is not sent when the pointer
/// has left it).
class LinkPictureWatcher : public QObject
{
    Q_OBJECT
public:
    explicit LinkPictureWatcher(QWidget *picture);

signals:
    void pressed();
    void released();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

/// Connects a window's link, its text and its picture, to the window's three
/// handlers: button down, button up and click.
template <class Window>
void connectLink(LinkText *text, QAbstractButton *picture, Window *window, void (Window::*down)(), void (Window::*up)(),
                 void (Window::*click)())
{
    QObject::connect(text, &LinkText::pressed, window, down);
    QObject::connect(text, &LinkText::released, window, up);
    QObject::connect(text, &LinkText::clicked, window, click);
    auto *watcher = new LinkPictureWatcher(picture);
    QObject::connect(watcher, &LinkPictureWatcher::pressed, window, down);
    QObject::connect(watcher, &LinkPictureWatcher::released, window, up);
    QObject::connect(picture, &QAbstractButton::clicked, window, click);
}
