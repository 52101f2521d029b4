#include "conventions.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace {
const char *kRestProperty = "rilegoraRestColour";
const char *kShownProperty = "rilegoraShownColour";
const char *kLimitProperty = "rilegoraTypingLimit";

QString colourName(QRgb argb)
{
    return QColor::fromRgba(argb).name(QColor::HexRgb);
}

void paintBox(QLineEdit *box, QRgb fill)
{
    box->setProperty(kShownProperty, QColor::fromRgba(fill));
    box->setStyleSheet(QStringLiteral("QLineEdit { background-color: %1; border: 1px solid %2; padding: 0 3px; }")
                           .arg(colourName(fill), colourName(Look::SkyBlue)));
}

class OverlayFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = static_cast<QLineEdit *>(watched);
        if (event->type() == QEvent::FocusIn)
            paintBox(box, Look::Yellow);
        else if (event->type() == QEvent::FocusOut)
            paintBox(box, box->property(kRestProperty).value<QColor>().rgba());
        return false;
    }
};

class TypingLimitFilter : public QObject
{
public:
    TypingLimitFilter(int limit, QObject *parent) : QObject(parent), m_limit(limit) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *box = static_cast<QLineEdit *>(watched);
        auto *key = static_cast<QKeyEvent *>(event);
        QString typed;
        if (key->matches(QKeySequence::Paste))
            typed = QGuiApplication::clipboard()->text();
        else if (!key->text().isEmpty() && key->text().at(0).unicode() >= 32 && key->text().at(0).unicode() != 127)
            typed = key->text();
        else
            return false;
        const qsizetype kept = box->text().size() - box->selectedText().size();
        const qsizetype room = qMax<qsizetype>(0, m_limit - kept);
        if (typed.size() <= room && !key->matches(QKeySequence::Paste))
            return false;
        if (room > 0 || box->hasSelectedText())
            box->insert(typed.left(room));
        return true;
    }

private:
    int m_limit;
};

class FrameFilter : public QObject
{
public:
    FrameFilter(QWidget *frame, QObject *parent) : QObject(parent), m_frame(frame) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        // The frame lies under its box, so a screen being destroyed deletes
        // it first; the box's last focus-out then finds no frame.
        if (!m_frame)
            return false;
        if (event->type() == QEvent::FocusIn)
            m_frame->show();
        else if (event->type() == QEvent::FocusOut)
            m_frame->hide();
        return false;
    }

private:
    QPointer<QWidget> m_frame;
};

class BusyFilter : public QObject
{
public:
    BusyFilter(QWidget *notice, QObject *parent) : QObject(parent), m_notice(notice) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            m_notice->show();
            m_notice->repaint();
        }
        return false;
    }

private:
    QWidget *m_notice;
};

class ChainFilter : public QObject
{
public:
    ChainFilter(QList<QWidget *> fields, QObject *parent) : QObject(parent), m_fields(std::move(fields)) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        const int i = int(m_fields.indexOf(static_cast<QWidget *>(watched)));
        if (i < 0)
            return false;
        m_fields.at((i + 1) % m_fields.size())->setFocus(Qt::OtherFocusReason);
        return true;
    }

private:
    QList<QWidget *> m_fields;
};
class EnterPressFilter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto *button = static_cast<QAbstractButton *>(watched);
        if (button->isEnabled() && !key->isAutoRepeat())
            button->click();
        return true;
    }
};
} // namespace

namespace Look {

void setGround(QWidget *screen, QRgb first, bool firstAtTop)
{
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(firstAtTop ? 0 : 1, QColor::fromRgba(first));
    gradient.setColorAt(firstAtTop ? 1 : 0, Qt::white);
    QPalette palette = screen->palette();
    palette.setBrush(QPalette::Window, QBrush(gradient));
    screen->setPalette(palette);
    screen->setAutoFillBackground(true);
}

QFont verdana(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Verdana"), pointSize, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont tahoma(int pointSize)
{
    QFont font(QStringLiteral("Tahoma"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont dataFont()
{
    return verdana(12, true);
}

QColor boxColour(const QLineEdit *box)
{
    return box->property(kShownProperty).value<QColor>();
}

void overlayHighlight(QLineEdit *box, QRgb rest)
{
    box->setProperty(kRestProperty, QColor::fromRgba(rest));
    paintBox(box, box->hasFocus() ? Yellow : rest);
    box->installEventFilter(new OverlayFilter(box));
}

void typingLimit(QLineEdit *box, int limit)
{
    box->setProperty(kLimitProperty, limit);
    box->installEventFilter(new TypingLimitFilter(limit, box));
    // A paste from the context menu or a drop comes as no key: what such an
    // edit adds beyond the limit (or beyond a longer text the program put
    // there) is taken out again, just before the cursor where it went in.
    // textEdited comes before textChanged, so the length kept by textChanged
    // is still the one the text had before the edit.
    auto before = std::make_shared<qsizetype>(box->text().size());
    QObject::connect(box, &QLineEdit::textChanged, box, [before](const QString &text) { *before = text.size(); });
    QObject::connect(box, &QLineEdit::textEdited, box, [box, limit, before](const QString &text) {
        const qsizetype excess = text.size() - qMax<qsizetype>(limit, *before);
        if (excess <= 0)
            return;
        const int cursor = box->cursorPosition();
        const qsizetype from = qMax<qsizetype>(0, cursor - excess);
        box->setText(QString(text).remove(from, excess));
        box->setCursorPosition(int(from));
    });
}

int typingLimit(const QLineEdit *box)
{
    return box->property(kLimitProperty).toInt();
}

QWidget *makeFocusFrame(QLineEdit *box, const QString &name)
{
    auto *frame = new QWidget(box->parentWidget());
    frame->setObjectName(name);
    frame->setGeometry(box->geometry().adjusted(-4, -4, 4, 4));
    frame->setAttribute(Qt::WA_StyledBackground);
    frame->setStyleSheet(QStringLiteral("#%1 { background-color: %2; border: 2px solid qlineargradient(x1:0, y1:0, "
                                        "x2:0, y2:1, stop:0 %2, stop:1 #ffffff); border-radius: 3px; }")
                             .arg(name, colourName(Yellow)));
    frame->hide();
    frame->stackUnder(box);
    frameHighlight(box, frame);
    return frame;
}

void frameHighlight(QLineEdit *box, QWidget *frame)
{
    frame->setVisible(box->hasFocus());
    box->installEventFilter(new FrameFilter(frame, box));
}

void enterChain(const QList<QWidget *> &fields)
{
    if (fields.isEmpty())
        return;
    auto *filter = new ChainFilter(fields, fields.first());
    for (QWidget *field : fields)
        field->installEventFilter(filter);
}

void enterMovesTo(QLineEdit *box, QWidget *target)
{
    // A chain of two watched at its first link only: Enter on target itself
    // does what it always does.
    box->installEventFilter(new ChainFilter({box, target}, box));
}

void enterPresses(QAbstractButton *button)
{
    button->installEventFilter(new EnterPressFilter(button));
}

void busyNotice(QWidget *command, QWidget *notice)
{
    notice->hide();
    command->installEventFilter(new BusyFilter(notice, command));
}

QLabel *makeHintBar(QWidget *parent, const QRect &band, QRgb bandColour, const QString &designText,
                    const QString &bandName)
{
    auto *strip = new QWidget(parent);
    strip->setObjectName(bandName);
    strip->setGeometry(band);
    strip->setAttribute(Qt::WA_StyledBackground);
    strip->setStyleSheet(QStringLiteral("#%1 { background-color: %2; }").arg(bandName, colourName(bandColour)));
    auto *text = new QLabel(designText, strip);
    text->setObjectName(QStringLiteral("panInfo"));
    text->setGeometry(7, 0, band.width() - 14, band.height());
    text->setFont(tahoma(12));
    text->setStyleSheet(QStringLiteral("color: white;"));
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    return text;
}

} // namespace Look

HintBar::HintBar(QLabel *bar) : QObject(bar), m_bar(bar) {}

void HintBar::addCommand(QWidget *command, const QString &hint)
{
    m_commands.append({command, hint});
    command->setAttribute(Qt::WA_Hover);
    command->installEventFilter(this);
}

void HintBar::addGround(QWidget *ground)
{
    m_grounds.append(ground);
    ground->setMouseTracking(true);
    ground->installEventFilter(this);
}

bool HintBar::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::Enter && type != QEvent::MouseMove && type != QEvent::HoverEnter)
        return false;
    for (const auto &command : std::as_const(m_commands)) {
        if (command.first == watched) {
            m_bar->setText(command.second);
            return false;
        }
    }
    if (type != QEvent::MouseMove)
        return false;
    // A move reaches a ground also from the children that let it through
    // (labels, edit boxes): only the ground itself, or another background
    // element, empties the bar.
    auto *ground = static_cast<QWidget *>(watched);
    const QPoint at = static_cast<QMouseEvent *>(event)->position().toPoint();
    QWidget *under = ground->childAt(at);
    if (!under || m_grounds.contains(under))
        m_bar->setText(QString());
    return false;
}
