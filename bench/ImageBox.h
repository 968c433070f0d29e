#pragma once

#include <QFrame>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>

// A box with a 2-pixel sunken border showing an image of its client area: a picture
// from the top-left corner over the window colour, as lumeno's picture boxes show it.
// Pixels are 0xFFRRGGBB words, the window system's layout, so a repaint is a copy.
// It takes the focus, as lumeno's boxes do, but shows no sign of it, so a change of
// focus repaints nothing.
class ImageBox : public QFrame {
public:
    ImageBox(const QImage& picture, const QRect& outer, QWidget* parent) : QFrame(parent) {
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(outer);
        image_ = QImage(contentsRect().size(), QImage::Format_RGB32);
        image_.fill(palette().color(QPalette::Window));
        QPainter(&image_).drawImage(0, 0, picture);
    }

    int rows() const { return image_.height(); }
    int columns() const { return image_.width(); }
    const QRgb* row(int y) const { return reinterpret_cast<const QRgb*>(image_.constScanLine(y)); }
    QRgb* row(int y) { return reinterpret_cast<QRgb*>(image_.scanLine(y)); }

    // Paints row y at once.
    void repaintRow(int y) {
        const QRect client = contentsRect();
        repaint(client.left(), client.top() + y, client.width(), 1);
    }

protected:
    void focusInEvent(QFocusEvent* /*event*/) override {}
    void focusOutEvent(QFocusEvent* /*event*/) override {}

    void paintEvent(QPaintEvent* event) override {
        const QRect client = contentsRect();
        if (!client.contains(event->rect()))
            QFrame::paintEvent(event); // the border
        const QRect area = (event->rect() & client).translated(-client.topLeft());
        if (!area.isEmpty())
            QPainter(this).drawImage(area.topLeft() + client.topLeft(), image_, area);
    }

private:
    QImage image_;
};
