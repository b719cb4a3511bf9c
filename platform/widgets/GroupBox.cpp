#include "platform/widgets/GroupBox.h"

#include <QPainter>

namespace platform {

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics fm(font());
    const int top = fm.height() / 2;
    const QRect frame(0, top, width() - 1, height() - 1 - top);
    // Etched frame: a dark line with a light line one pixel inside it.
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    if (!title().isEmpty()) {
        const int x = 8;
        const int w = fm.horizontalAdvance(title()) + 4;
        const QRect captionBox(x, 0, w, fm.height());
        p.fillRect(captionBox, palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(captionBox, Qt::AlignCenter, title());
    }
}

}  // namespace platform
