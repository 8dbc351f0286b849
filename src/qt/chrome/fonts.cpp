#include "fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QString>

namespace chrome {

void ensureTahoma()
{
    static const bool done = [] {
        if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
            return true;
        for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
            const QString file = QString::fromLatin1(path);
            if (QFile::exists(file))
                QFontDatabase::addApplicationFont(file);
        }
        return true;
    }();
    (void)done;
}

} // namespace chrome
