#include "fullscreenpicture.h"

#include "kit/picturewidgets.h"
#include "kit/screens.h"

#include <QDialog>
#include <QEvent>
#include <QMouseEvent>
#include <QScreen>

namespace {
/// Closes its window when the left button is released over the watched panel.
class CloseOnClick : public QObject
{
public:
    CloseOnClick(QDialog *window, QObject *parent) : QObject(parent), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_window->close();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QDialog *m_window;
};
} // namespace

namespace FullScreenPicture {

QSize areaFor(const QSize &screen)
{
    return QSize(qMax(1, screen.width() - 60), qMax(1, screen.height() - 90));
}

PictureBox *build(QDialog *window)
{
    QWidget *pan = Screens::addCentredContainer(window, Screens::ContainerSize);
    pan->installEventFilter(new CloseOnClick(window, pan));
    auto *picture = new PictureBox(QStringLiteral("imgFoto"), pan);
    picture->setGeometry(QRect(QPoint(0, 0), pan->size()));
    QObject::connect(picture, &PictureBox::clicked, window, &QDialog::close);
    return picture;
}

void fitToScreen(QDialog *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        return;
    const QSize area = areaFor(screen->size());
    auto *pan = window->findChild<QWidget *>(QStringLiteral("panContainer"));
    auto *picture = window->findChild<PictureBox *>(QStringLiteral("imgFoto"));
    if (pan)
        pan->setFixedSize(area);
    if (picture)
        picture->setGeometry(QRect(QPoint(0, 0), area));
}

} // namespace FullScreenPicture
