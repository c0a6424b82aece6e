#include "flatbutton.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace riderar {

FlatButton::FlatButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setAutoDefault(false);
    setDefault(false);
}

void FlatButton::setBackColour(std::optional<QColor> colour)
{
    if (colour == m_back)
        return;
    m_back = colour;
    update();
}

QColor FlatButton::fillColour() const
{
    return m_back.value_or(palette().color(QPalette::Button));
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool sunken = isDown();
    const QBrush fill(fillColour());
    qDrawWinButton(&painter, rect(), palette(), sunken, &fill);

    QRect textArea = rect().adjusted(2, 2, -2, -2);
    if (sunken)
        textArea.translate(1, 1);
    style()->drawItemText(&painter, textArea, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), text(), QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(4, 4, -4, -4);
        focus.backgroundColor = fillColour();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace riderar
