// Writes the application icon in the sizes of the desktop's icon theme:
//   scale_icon ICON.png THEME_DIR SIZE...  ->  THEME_DIR/<N>x<N>/apps/quelvo.png
// Each size is scaled from the one drawn image, as the system does for its
// own smaller forms of an icon.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fputs("usage: scale_icon ICON.png THEME_DIR SIZE...\n", stderr);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "scale_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QImage scaled = icon.convertToFormat(QImage::Format_ARGB32)
                                  .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (size <= 0 || !QDir().mkpath(folder) || !scaled.save(folder + QStringLiteral("/quelvo.png"))) {
            std::fprintf(stderr, "scale_icon: cannot write the %s pixel icon\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
