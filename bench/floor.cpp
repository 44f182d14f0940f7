// The floors the benchmark measures the program against, built from Qt Widgets
// alone so that they pay only what every Qt program pays:
//
//   stiftolino_bench_floor --bare                 an empty window with one label
//   stiftolino_bench_floor --scribble X Y W H PEN the textbook scribble canvas
//
// The scribble canvas is the classic one: a QImage, one drawLine per pointer move
// and an update() of the segment's rectangle.

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

namespace {

class ScribbleArea : public QWidget
{
public:
    ScribbleArea(QSize size, int pen) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_pen(pen)
    {
        setWindowTitle(QStringLiteral("bench-scribble"));
        setAttribute(Qt::WA_StaticContents);
        m_image = QImage(size, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        setFixedSize(size);
    }

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        m_last = e->position().toPoint();
        m_drawing = true;
    }
    void mouseMoveEvent(QMouseEvent *e) override
    {
        if (m_drawing)
            drawLineTo(e->position().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        if (m_drawing)
            drawLineTo(e->position().toPoint());
        m_drawing = false;
    }
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        p.drawImage(e->rect(), m_image, e->rect());
    }

private:
    void drawLineTo(QPoint end)
    {
        QPainter painter(&m_image);
        painter.setPen(QPen(Qt::black, m_pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(m_last, end);
        const int rad = m_pen / 2 + 2;
        update(QRect(m_last, end).normalized().adjusted(-rad, -rad, +rad, +rad));
        m_last = end;
    }

    QImage m_image;
    QPoint m_last;
    int m_pen;
    bool m_drawing = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--scribble") && args.size() >= 7) {
        auto *area = new ScribbleArea(QSize(args[4].toInt(), args[5].toInt()), args[6].toInt());
        area->move(args[2].toInt(), args[3].toInt());
        area->show();
        return app.exec();
    }
    // The bare window: the size of the program's main window, and one label so
    // that its first frame is not a flat colour.
    auto *window = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setWindowTitle(QStringLiteral("bench-bare"));
    window->resize(829, 624);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(new QLabel(QStringLiteral("Hello"), window));
    window->show();
    return app.exec();
}
