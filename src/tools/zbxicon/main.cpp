// zbxicon: writes the program's icon for the desktop's icon theme.
//   zbxicon FOLDER NAME
// makes FOLDER/scalable/apps/NAME.svg and FOLDER/SxS/apps/NAME.png for the usual sizes.
#include "ide/icon/AppIcon.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zbxicon FOLDER NAME\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const auto writeInto = [&](const QString& subfolder, const QString& file, auto write) {
        const QString path = folder + QLatin1Char('/') + subfolder;
        if (!QDir().mkpath(path) || !write(path + QLatin1Char('/') + file)) {
            std::fprintf(stderr, "zbxicon: cannot write %s/%s\n", qPrintable(path), qPrintable(file));
            return false;
        }
        return true;
    };
    const bool svgWritten = writeInto(QStringLiteral("scalable/apps"), name + QStringLiteral(".svg"), [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(appIconSvg().toUtf8()) > 0;
    });
    if (!svgWritten)
        return 1;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString subfolder = QStringLiteral("%1x%1/apps").arg(size);
        if (!writeInto(subfolder, name + QStringLiteral(".png"), [size](const QString& path) { return renderAppIcon(size).save(path, "PNG"); }))
            return 1;
    }
    return 0;
}
