// Renders the application icon's SVG into the square PNGs of the hicolor icon theme, each drawn
// afresh at its size: rendericon SVG OUTPUT-FOLDER SIZE...
// writes OUTPUT-FOLDER/<SIZE>x<SIZE>/apps/<name of the SVG>.png for every SIZE.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char *argv[]) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: rendericon SVG OUTPUT-FOLDER SIZE...\n");
        return 2;
    }
    const QString &svg = arguments.at(1);
    const QDir output(arguments.at(2));
    for (const QString &sizeText : arguments.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size < 1) {
            std::fprintf(stderr, "rendericon: not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        QImageReader reader(svg, "svg");
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = output.filePath(
            folder + QLatin1Char('/') + QFileInfo(svg).completeBaseName() + QStringLiteral(".png"));
        if (image.isNull() || !output.mkpath(folder) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "rendericon: cannot render %s into %s: %s\n", qPrintable(svg),
                         qPrintable(path), qPrintable(reader.errorString()));
            return 1;
        }
    }
    return 0;
}
