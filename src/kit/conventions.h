#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QAbstractButton;
class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

/// The look and behaviour that every screen shares: colours, grounds,
/// typefaces, field highlights, the Enter chain and the hint bar.
namespace Look {

// Colours (ARGB).
constexpr QRgb AliceBlue = 0xFFF0F8FF;
constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Yellow = 0xFFFFFF00;
constexpr QRgb SkyBlue = 0xFF87CEEB;
constexpr QRgb SteelBlue = 0xFF4682B4;
constexpr QRgb CardBlue = 0xFF427AA8;
constexpr QRgb ExportBlue = 0xFF80AACE;
constexpr QRgb HelpBlue = 0xFFBFD8EF;
constexpr QRgb SplashDark = 0xFF352525;
constexpr QRgb EditorHintBand = 0xFF3030DD;
constexpr QRgb SlateBlue = 0xFF6A5ACD;
constexpr QRgb DarkBlue = 0xFF00008B;
constexpr QRgb Orange = 0xFFFFA500;
constexpr QRgb DarkGreen = 0xFF006400;
constexpr QRgb DarkCyan = 0xFF008B8B;
constexpr QRgb Crimson = 0xFFDC143C;

/// Paints the window ground as a vertical two-stop gradient from first to
/// White; firstAtTop false puts first at the bottom.
void setGround(QWidget *screen, QRgb first, bool firstAtTop = true);

QFont verdana(int pointSize, bool bold = false);
QFont tahoma(int pointSize);
/// Verdana 12 bold, the typeface of every data field.
QFont dataFont();

/// The rest colour of an overlay-highlighted box, as a property read by tests.
QColor boxColour(const QLineEdit *box);

/// Overlay highlight: the box is Yellow while it holds the focus and its
/// rest colour otherwise, with a SkyBlue border either way.
void overlayHighlight(QLineEdit *box, QRgb rest = AliceBlue);

/// Typing limit: the user cannot type or paste (with the keyboard) more than
/// limit characters into the box, but a text the program puts there may be
/// longer and is shown whole (QLineEdit's maximum length would cut it).
void typingLimit(QLineEdit *box, int limit);
/// The box's typing limit, or 0 when it has none.
int typingLimit(const QLineEdit *box);

/// Frame highlight: frame (a rectangle 4 units larger on every side that lies
/// behind the box) is shown while the box holds the focus, hidden otherwise.
void frameHighlight(QLineEdit *box, QWidget *frame);
/// Makes a hidden focus frame around box, named name, on box's parent.
QWidget *makeFocusFrame(QLineEdit *box, const QString &name);

/// Enter chain: Enter (or the keypad's Enter) in one field moves the focus
/// to the next, and from the last back to the first. Other keys act as usual.
void enterChain(const QList<QWidget *> &fields);

/// Enter (Return or the keypad's Enter) in box moves the focus to target
/// without pressing it.
void enterMovesTo(QLineEdit *box, QWidget *target);

/// Enter (Return or the keypad's Enter) on button while it holds the focus
/// presses it, as the space bar does: a button reached through the Enter
/// chain or the Tab key answers Enter as a Windows button does.
void enterPresses(QAbstractButton *button);

/// Busy notice: the hidden label notice is shown (and painted at once) as
/// soon as the mouse button goes down on command, so that it is on screen
/// before the command's work starts on the click that follows. The screen
/// hides it again when that work ends.
void busyNotice(QWidget *command, QWidget *notice);

/// A label styled as hint text (white Tahoma 12) on a band of the given colour
/// across the bottom of parent, named bandName. Returns the text label; the
/// band is its parent.
QLabel *makeHintBar(QWidget *parent, const QRect &band, QRgb bandColour, const QString &designText,
                    const QString &bandName = QStringLiteral("bkgInfo"));

} // namespace Look

/// The hint bar: pointing at a command shows its hint; pointing at the
/// ground or at one of the background elements empties the bar. Nothing else
/// writes to it.
class HintBar : public QObject
{
    Q_OBJECT
public:
    explicit HintBar(QLabel *bar);

    void addCommand(QWidget *command, const QString &hint);
    void addGround(QWidget *ground);

    QLabel *bar() const { return m_bar; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_bar;
    QList<QPair<QWidget *, QString>> m_commands;
    QList<QWidget *> m_grounds;
};
