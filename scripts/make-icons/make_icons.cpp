// Paints the program's images with simple flat symbols: one 24x24 PNG per toolbar image key,
// the exit mark, the 64x64 application icon and the About box's key-fob picture.
//
// The images are our own work, drawn by this program; they are free to use, copy, change and
// distribute without restriction.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

const QColor ink(0x37, 0x47, 0x4f);
const QColor paper(0xfa, 0xfa, 0xfa);
const QColor folderYellow(0xf9, 0xb9, 0x34);
const QColor folderDark(0xd8, 0x93, 0x12);
const QColor diskBlue(0x1e, 0x63, 0xb5);
const QColor rxBlue(0x29, 0x79, 0xff);
const QColor tagOrange(0xf5, 0x7c, 0x00);
const QColor pcGrey(0x60, 0x7d, 0x8b);
const QColor screenBlue(0xb3, 0xe5, 0xfc);
const QColor go(0x2e, 0x9d, 0x45);
const QColor stop(0xd3, 0x2f, 0x2f);

QPen outline(const QColor &color, double width = 1.0) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded corner.
void sheet(QPainter &p, const QRectF &r) {
    const double fold = r.width() * 0.3;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(outline(ink));
    p.setBrush(paper);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(QColor(0xcf, 0xd8, 0xdc));
    p.drawPath(corner);
    p.setPen(outline(QColor(0xb0, 0xbe, 0xc5)));
    for (double y = r.top() + fold + 2.5; y < r.bottom() - 2; y += 2.5)
        p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
}

void floppy(QPainter &p, const QRectF &r) {
    QPainterPath body;
    const double cut = r.width() * 0.18;
    body.moveTo(r.topLeft());
    body.lineTo(r.right() - cut, r.top());
    body.lineTo(r.right(), r.top() + cut);
    body.lineTo(r.bottomRight());
    body.lineTo(r.bottomLeft());
    body.closeSubpath();
    p.setPen(outline(diskBlue.darker(140)));
    p.setBrush(diskBlue);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xcf, 0xd8, 0xdc)); // shutter
    p.drawRect(
        QRectF(r.left() + r.width() * 0.28, r.top() + 0.5, r.width() * 0.42, r.height() * 0.3));
    p.setBrush(diskBlue.darker(150));
    p.drawRect(
        QRectF(r.left() + r.width() * 0.55, r.top() + 2, r.width() * 0.1, r.height() * 0.18));
    p.setBrush(paper); // label
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.18, r.top() + r.height() * 0.5,
                             r.width() * 0.64, r.height() * 0.45),
                      1, 1);
}

// A PC: a monitor on a stand.
void pc(QPainter &p, const QRectF &r) {
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.72);
    p.setPen(outline(ink));
    p.setBrush(pcGrey);
    p.drawRoundedRect(screen, 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(screenBlue);
    p.drawRect(screen.adjusted(1.5, 1.5, -1.5, -1.5));
    p.setBrush(pcGrey);
    p.drawRect(QRectF(r.center().x() - 1, screen.bottom(), 2, r.height() * 0.16));
    p.setPen(outline(ink));
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.2, r.bottom() - 1.5, r.width() * 0.6, 1.5),
                      0.6, 0.6);
}

// A receiver: a box with an antenna and a lit lamp.
void receiver(QPainter &p, const QRectF &r) {
    const QRectF box(r.left(), r.top() + r.height() * 0.35, r.width(), r.height() * 0.65);
    p.setPen(outline(rxBlue.darker(150), 1.4));
    p.drawLine(QPointF(box.right() - box.width() * 0.25, box.top()),
               QPointF(box.right() - box.width() * 0.1, r.top() + 0.7));
    p.setPen(outline(rxBlue.darker(150)));
    p.setBrush(rxBlue);
    p.drawRoundedRect(box, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x76, 0xff, 0x03));
    p.drawEllipse(QPointF(box.left() + box.width() * 0.25, box.center().y()), box.height() * 0.16,
                  box.height() * 0.16);
    p.setBrush(paper);
    p.drawRect(
        QRectF(box.left() + box.width() * 0.45, box.center().y() - 0.6, box.width() * 0.4, 1.2));
}

// A backup memory tag: a key tag with its hole.
void tag(QPainter &p, const QRectF &r) {
    QPainterPath body;
    const double nose = r.width() * 0.35;
    body.moveTo(r.left() + nose, r.top() + r.height() * 0.12);
    body.lineTo(r.right() - 1.5, r.top() + r.height() * 0.12);
    body.quadTo(r.right(), r.top() + r.height() * 0.12, r.right(), r.top() + r.height() * 0.3);
    body.lineTo(r.right(), r.bottom() - r.height() * 0.3);
    body.quadTo(r.right(), r.bottom() - r.height() * 0.12, r.right() - 1.5,
                r.bottom() - r.height() * 0.12);
    body.lineTo(r.left() + nose, r.bottom() - r.height() * 0.12);
    body.lineTo(r.left(), r.center().y());
    body.closeSubpath();
    p.setPen(outline(tagOrange.darker(150)));
    p.setBrush(tagOrange);
    p.drawPath(body);
    p.setBrush(paper);
    p.drawEllipse(QPointF(r.left() + nose * 0.7, r.center().y()), r.width() * 0.09,
                  r.width() * 0.09);
}

// A thick arrow along a path, its head at the path's end.
void arrow(QPainter &p, const QPainterPath &path, const QColor &color, double width = 2.2) {
    const QPointF tip = path.pointAtPercent(1.0);
    const QPointF before = path.pointAtPercent(0.9);
    const double angle = std::atan2(tip.y() - before.y(), tip.x() - before.x());
    const double head = width * 2.0;
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Stop the shaft short of the tip so the head stays sharp.
    QPainterPath cut;
    const int steps = 40;
    for (int i = 0; i <= steps; ++i) {
        const QPointF pt = path.pointAtPercent(0.85 * i / steps);
        i == 0 ? cut.moveTo(pt) : cut.lineTo(pt);
    }
    p.drawPath(cut);
    QPolygonF triangle;
    triangle << tip << tip - QPointF(std::cos(angle - 0.6), std::sin(angle - 0.6)) * head * 1.2
             << tip - QPointF(std::cos(angle + 0.6), std::sin(angle + 0.6)) * head * 1.2;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(triangle);
}

void cross(QPainter &p, const QPointF &centre, double radius, const QColor &color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(centre, radius, radius);
    p.setPen(outline(paper, radius * 0.35));
    const double d = radius * 0.45;
    p.drawLine(centre + QPointF(-d, -d), centre + QPointF(d, d));
    p.drawLine(centre + QPointF(-d, d), centre + QPointF(d, -d));
}

using Symbol = std::function<void(QPainter &, const QRectF &)>;

// Source at the top left, destination at the bottom right, an arrow bending from one to the
// other round the top right corner.
void transfer(QPainter &p, const Symbol &from, const Symbol &to) {
    from(p, QRectF(0.5, 1, 11, 10));
    to(p, QRectF(11.5, 12.5, 12, 11));
    QPainterPath path;
    path.moveTo(12.5, 5.5);
    path.quadTo(19.5, 5.5, 19, 12);
    arrow(p, path, go);
}

// An antenna mast sending waves.
void antenna(QPainter &p, const QColor &color, bool waves) {
    p.setPen(outline(color, 1.8));
    p.drawLine(QPointF(12, 10), QPointF(12, 22));
    p.drawLine(QPointF(8, 22), QPointF(16, 22));
    p.drawLine(QPointF(12, 14), QPointF(9, 22));
    p.drawLine(QPointF(12, 14), QPointF(15, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(12, 9), 2, 2);
    if (!waves)
        return;
    p.setBrush(Qt::NoBrush);
    for (double r : {5.0, 8.5}) {
        p.setPen(outline(color, 1.6));
        const QRectF arcBox(12 - r, 9 - r, 2 * r, 2 * r);
        p.drawArc(arcBox, -45 * 16, 90 * 16);
        p.drawArc(arcBox, 135 * 16, 90 * 16);
    }
}

void keyFob(QPainter &p, const QRectF &r) {
    // Key ring at the top, a rounded body with two buttons and a lamp below.
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(0x9e, 0x9e, 0x9e), r.width() * 0.05));
    p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.14), r.width() * 0.12,
                  r.height() * 0.11);
    const QRectF body(r.left() + r.width() * 0.22, r.top() + r.height() * 0.24, r.width() * 0.56,
                      r.height() * 0.74);
    QLinearGradient shade(body.topLeft(), body.topRight());
    shade.setColorAt(0, QColor(0x45, 0x5a, 0x64));
    shade.setColorAt(1, QColor(0x26, 0x32, 0x38));
    p.setPen(outline(QColor(0x1c, 0x25, 0x29), r.width() * 0.02));
    p.setBrush(shade);
    p.drawRoundedRect(body, body.width() * 0.45, body.width() * 0.45);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x52, 0x52));
    p.drawEllipse(QPointF(body.center().x(), body.top() + body.height() * 0.16),
                  body.width() * 0.07, body.width() * 0.07);
    p.setBrush(QColor(0xec, 0xef, 0xf1));
    const double button = body.width() * 0.2;
    p.drawEllipse(QPointF(body.center().x(), body.top() + body.height() * 0.42), button, button);
    p.drawEllipse(QPointF(body.center().x(), body.top() + body.height() * 0.72), button, button);
}

QImage paint(int size, const std::function<void(QPainter &)> &draw) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p);
    p.end();
    return image;
}

const std::map<QString, std::function<void(QPainter &)>> &toolbarImages() {
    static const std::map<QString, std::function<void(QPainter &)>> images = {
        {"New",
         [](QPainter &p) {
             sheet(p, QRectF(4.5, 2.5, 14, 19));
             p.setPen(outline(go, 2.2));
             p.drawLine(QPointF(18, 14), QPointF(18, 22));
             p.drawLine(QPointF(14, 18), QPointF(22, 18));
         }},
        {"Open",
         [](QPainter &p) {
             p.setPen(outline(folderDark));
             p.setBrush(folderDark);
             QPainterPath back;
             back.moveTo(2, 20);
             back.lineTo(2, 5);
             back.lineTo(8, 5);
             back.lineTo(10, 7);
             back.lineTo(19, 7);
             back.lineTo(19, 20);
             back.closeSubpath();
             p.drawPath(back);
             p.setBrush(paper);
             p.drawRect(QRectF(5, 9, 12, 8));
             QPainterPath front;
             front.moveTo(2, 20);
             front.lineTo(6, 11);
             front.lineTo(23, 11);
             front.lineTo(19, 20);
             front.closeSubpath();
             p.setBrush(folderYellow);
             p.drawPath(front);
         }},
        {"Save", [](QPainter &p) { floppy(p, QRectF(3.5, 3.5, 17, 17)); }},
        {"Saveas",
         [](QPainter &p) {
             floppy(p, QRectF(1.5, 1.5, 16, 16));
             // A pencil writing the new name.
             p.save();
             p.translate(17, 17);
             p.rotate(-45);
             p.setPen(outline(ink, 0.8));
             p.setBrush(folderYellow);
             p.drawRect(QRectF(-2, -1.8, 9, 3.6));
             p.setBrush(QColor(0xff, 0xcc, 0xbc));
             QPolygonF point;
             point << QPointF(-2, -1.8) << QPointF(-5.5, 0) << QPointF(-2, 1.8);
             p.drawPolygon(point);
             p.restore();
         }},
        {"close1",
         [](QPainter &p) {
             sheet(p, QRectF(2.5, 1.5, 14, 19));
             cross(p, QPointF(17, 17), 6, stop);
         }},
        {"sort",
         [](QPainter &p) {
             p.setPen(outline(ink, 2));
             for (int i = 0; i < 4; ++i)
                 p.drawLine(QPointF(2, 5 + i * 5), QPointF(4 + i * 3, 5 + i * 5));
             QPainterPath down;
             down.moveTo(19, 2);
             down.lineTo(19, 22);
             arrow(p, down, diskBlue);
         }},
        {"Merge3",
         [](QPainter &p) {
             QPainterPath left, right, out;
             left.moveTo(4, 2);
             left.cubicTo(4, 10, 12, 9, 12, 14);
             right.moveTo(20, 2);
             right.cubicTo(20, 10, 12, 9, 12, 14);
             p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawPath(left);
             p.drawPath(right);
             out.moveTo(12, 13);
             out.lineTo(12, 22.5);
             arrow(p, out, go);
         }},
        {"LoadfromRX", [](QPainter &p) { transfer(p, receiver, pc); }},
        {"LoadfromTag", [](QPainter &p) { transfer(p, tag, pc); }},
        {"SavetoRX", [](QPainter &p) { transfer(p, pc, receiver); }},
        {"SavetoTag", [](QPainter &p) { transfer(p, pc, tag); }},
        {"TagtoRX", [](QPainter &p) { transfer(p, tag, receiver); }},
        {"RXtoTag", [](QPainter &p) { transfer(p, receiver, tag); }},
        {"ClearRX1",
         [](QPainter &p) {
             receiver(p, QRectF(1, 2, 16, 15));
             cross(p, QPointF(17.5, 17.5), 6, stop);
         }},
        {"ClearTag2",
         [](QPainter &p) {
             tag(p, QRectF(1, 2, 17, 15));
             cross(p, QPointF(17.5, 17.5), 6, stop);
         }},
        {"EnableRX41", [](QPainter &p) { antenna(p, go, true); }},
        {"DisableRX3",
         [](QPainter &p) {
             antenna(p, QColor(0x90, 0xa4, 0xae), false);
             p.setPen(outline(stop, 2.4));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
             p.drawLine(QPointF(5.3, 18.7), QPointF(18.7, 5.3));
         }},
        {"FindZEPRO1",
         [](QPainter &p) {
             // The programmer: a box with a socket, under a magnifying glass.
             p.setPen(outline(ink));
             p.setBrush(QColor(0x45, 0x5a, 0x64));
             p.drawRoundedRect(QRectF(1.5, 11.5, 15, 10), 1.5, 1.5);
             p.setBrush(tagOrange);
             p.drawRect(QRectF(4, 14, 5, 4));
             p.setPen(outline(ink, 2.8));
             p.drawLine(QPointF(18.5, 11.5), QPointF(22.5, 15.5));
             p.setPen(outline(ink, 1.8));
             p.setBrush(QColor(0xe1, 0xf5, 0xfe, 0xc0));
             p.drawEllipse(QPointF(14, 7), 5.5, 5.5);
         }},
    };
    return images;
}

bool save(const QImage &image, const QDir &folder, const QString &name) {
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (const auto &[key, draw] : toolbarImages())
        ok &= save(paint(24, draw), folder, key);

    ok &= save(paint(24, [](QPainter &p) { cross(p, QPointF(12, 12), 10.5, stop); }), folder,
               QStringLiteral("exit"));
    ok &= save(paint(64, [](QPainter &p) { keyFob(p, QRectF(0, 0, 24, 24)); }), folder,
               QStringLiteral("product"));
    ok &= save(paint(64,
                     [](QPainter &p) {
                         p.setPen(Qt::NoPen);
                         p.setBrush(rxBlue);
                         p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 4.5, 4.5);
                         keyFob(p, QRectF(1, 3, 13, 19));
                         p.setBrush(Qt::NoBrush);
                         p.setPen(outline(paper, 1.6));
                         for (double r : {4.0, 7.0}) {
                             const QRectF arc(12 - r, 9 - r, 2 * r, 2 * r);
                             p.drawArc(arc, -40 * 16, 80 * 16);
                         }
                     }),
               folder, QStringLiteral("remletmanager"));
    return ok ? 0 : 1;
}
