#include "panelframe.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

namespace riderar {

namespace {
constexpr int captionIndent = 8; // pixels from the frame's left edge to its caption
constexpr int captionPadding = 2;
} // namespace

PanelFrame::PanelFrame(const QString &caption, QWidget *parent)
    : QWidget(parent), m_caption(caption)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void PanelFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor back = palette().color(QPalette::Window);
    painter.fillRect(rect(), back);

    // The border's top line runs through the middle of the caption, as on a group box.
    const int lineTop = m_caption.isEmpty() ? 0 : fontMetrics().height() / 2;
    qDrawShadeRect(&painter, rect().adjusted(0, lineTop, 0, 0), palette(), true, 1);

    if (!m_caption.isEmpty()) {
        const int width = fontMetrics().horizontalAdvance(m_caption) + 2 * captionPadding;
        const QRect captionArea(captionIndent, 0, width, fontMetrics().height());
        painter.fillRect(captionArea, back);
        style()->drawItemText(&painter, captionArea, Qt::AlignCenter, palette(), true, m_caption,
                              QPalette::WindowText);
    }
}

} // namespace riderar
