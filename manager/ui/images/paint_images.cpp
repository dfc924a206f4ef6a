// Draws the manager's images: the nine 16 x 16 row images of the device list and the 24 x 24 toolbar
// images, as PNG files into the folder given as the argument. The PNGs are kept in the repository (and
// compiled in as Qt resources); run this after changing a drawing:
//   build/manager/ui/images/paint_images manager/ui/images
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

bool Save(const QString& folder, const QString& name, int size, const Draw& draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    const bool ok = image.save(folder + "/" + name + ".png");
    if (!ok) std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
    return ok;
}

// A device server seen from the front: a box with a row of port LEDs, in the row's colour.
void Device(QPainter& p, QColor body) {
    p.setPen(QPen(body.darker(170), 1));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 4.5, 12, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(QRectF(3, 6, 9, 2));
    p.setBrush(QColor(40, 220, 60));
    p.drawEllipse(QRectF(3, 9.5, 2, 2));
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QRectF(6, 9.5, 2, 2));
}

// A round badge in the lower right corner, with a mark drawn in white.
void Badge(QPainter& p, QColor color, const Draw& mark) {
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(color);
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    mark(p);
}

void Cross(QPainter& p) {
    p.drawLine(QPointF(10.5, 10.5), QPointF(13.5, 13.5));
    p.drawLine(QPointF(13.5, 10.5), QPointF(10.5, 13.5));
}
void Check(QPainter& p) {
    p.drawPolyline(QPolygonF({QPointF(10.3, 12.2), QPointF(11.6, 13.5), QPointF(13.8, 10.6)}));
}
void Dot(QPainter& p) {
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(11.2, 11.2, 1.6, 1.6));
}
void Arrow(QPainter& p) {
    p.drawLine(QPointF(10.2, 12), QPointF(13.6, 12));
    p.drawPolyline(QPolygonF({QPointF(12, 10.4), QPointF(13.6, 12), QPointF(12, 13.6)}));
}
void Question(QPainter& p) {
    QFont f;
    f.setPixelSize(7);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(8.5, 8.5, 7, 7), Qt::AlignCenter, "?");
}

void RowImage(QPainter& p, QColor body, QColor badge, const Draw& mark) {
    Device(p, body);
    Badge(p, badge, mark);
}

// Toolbar images.
void Lens(QPainter& p, QPointF centre, double radius) {
    p.setPen(QPen(QColor(60, 60, 70), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(200, 230, 255, 220));
    p.drawEllipse(centre, radius, radius);
    p.drawLine(centre + QPointF(radius * 0.72, radius * 0.72), centre + QPointF(radius * 1.9, radius * 1.9));
}

void LocalSearch(QPainter& p) {
    p.setPen(QPen(QColor(30, 110, 200), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(3, 5), QPointF(3, 19));
    for (double y : {5.0, 12.0, 19.0}) {
        p.setBrush(QColor(70, 150, 230));
        p.drawRect(QRectF(4.5, y - 2, 6, 4));
    }
    Lens(p, QPointF(15, 11), 5);
}

void BookSearch(QPainter& p) {
    p.setPen(QPen(QColor(120, 60, 20), 1));
    p.setBrush(QColor(190, 110, 50));
    p.drawRoundedRect(QRectF(2.5, 3.5, 12, 17), 1.5, 1.5);
    p.setBrush(QColor(250, 245, 230));
    p.drawRect(QRectF(5, 5.5, 8, 13));
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (double y : {8.5, 11.5, 14.5})
        p.drawLine(QPointF(6.5, y), QPointF(11.5, y));
    Lens(p, QPointF(16, 12), 4.2);
}

void Plus(QPainter& p) {
    p.setPen(QPen(QColor(20, 120, 30), 1));
    p.setBrush(QColor(60, 180, 70));
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 7), QPointF(12, 17));
    p.drawLine(QPointF(7, 12), QPointF(17, 12));
}

void Minus(QPainter& p) {
    p.setPen(QPen(QColor(150, 20, 20), 1));
    p.setBrush(QColor(220, 60, 50));
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(7, 12), QPointF(17, 12));
}

void Pencil(QPainter& p) {
    p.translate(12, 12);
    p.rotate(45);
    p.setPen(QPen(QColor(90, 70, 20), 1));
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(QRectF(-3, -9, 6, 13));
    p.setBrush(QColor(240, 150, 150));
    p.drawRect(QRectF(-3, -11, 6, 2.5));
    p.setBrush(QColor(240, 220, 180));
    p.drawPolygon(QPolygonF({QPointF(-3, 4), QPointF(3, 4), QPointF(0, 10)}));
    p.resetTransform();
}

void Info(QPainter& p) {
    p.setPen(QPen(QColor(20, 70, 150), 1));
    p.setBrush(QColor(50, 120, 210));
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(10.5, 5.5, 3, 3));
    p.drawRoundedRect(QRectF(10.5, 10, 3, 8.5), 1, 1);
}

void Exit(QPainter& p) {
    p.setPen(QPen(QColor(70, 50, 30), 1));
    p.setBrush(QColor(150, 100, 60));
    p.drawRect(QRectF(3.5, 2.5, 10, 19));
    p.setBrush(QColor(240, 200, 80));
    p.drawEllipse(QRectF(10, 11, 2, 2));
    p.setPen(QPen(QColor(200, 40, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(12, 12), QPointF(21, 12));
    p.drawPolyline(QPolygonF({QPointF(18, 8.5), QPointF(21.5, 12), QPointF(18, 15.5)}));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: paint_images FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QColor grey(150, 150, 150), green(50, 170, 70), blue(50, 110, 200), orange(235, 140, 30);
    const QColor red(210, 50, 40), teal(30, 150, 150), purple(130, 80, 180);
    const Draw rows[9] = {
        [&](QPainter& p) { RowImage(p, grey, red, Cross); },               // 0 address book, not answering
        [&](QPainter& p) { RowImage(p, green, green.darker(130), Dot); },  // 1 local, in a subnet
        [&](QPainter& p) { RowImage(p, blue, green, Check); },             // 2 address book, answering
        [&](QPainter& p) { RowImage(p, purple, purple.darker(130), Dot); },
        [&](QPainter& p) { RowImage(p, teal, teal.darker(130), Dot); },
        [&](QPainter& p) { RowImage(p, red, red.darker(130), Cross); },
        [&](QPainter& p) { RowImage(p, orange, orange.darker(140), Arrow); },  // 6 local, outside
        [&](QPainter& p) { RowImage(p, teal, blue, Check); },
        [&](QPainter& p) { RowImage(p, grey, grey.darker(140), Question); },
    };
    bool ok = true;
    for (int i = 0; i < 9; ++i)
        ok = Save(out, QString("row%1").arg(i), 16, rows[i]) && ok;
    ok = Save(out, "tool_localsearch", 24, LocalSearch) && ok;
    ok = Save(out, "tool_booksearch", 24, BookSearch) && ok;
    ok = Save(out, "tool_add", 24, Plus) && ok;
    ok = Save(out, "tool_del", 24, Minus) && ok;
    ok = Save(out, "tool_edit", 24, Pencil) && ok;
    ok = Save(out, "tool_about", 24, Info) && ok;
    ok = Save(out, "tool_exit", 24, Exit) && ok;
    return ok ? 0 : 1;
}
