#include "TMoviePanel.h"

#include <QPainter>

TMoviePanel::TMoviePanel(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted each time: no need for Qt to clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMoviePanel::ShowFrame(const QImage& frame) {
    m_frame = frame;
    if (!frame.isNull())
        ++m_framesShown;
    update();
}

void TMoviePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_frame.isNull()) {
        if (m_frame.size() == size())
            p.drawImage(0, 0, m_frame);
        else
            p.drawImage(rect(), m_frame);
        return;
    }
    p.fillRect(rect(), Qt::black);
    QFont font(QStringLiteral("Times New Roman"));
    font.setItalic(true);
    font.setPointSize(12);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(rect(), Qt::AlignCenter, LoadingCaption);
}
