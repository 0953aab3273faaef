// The desktop's file associations through Qt (xdg-open and the portal on Linux desktops).
#include "platform/DesktopOpen.h"

#include "platform/QtText.h"

#include <QDesktopServices>
#include <QUrl>

bool openWithDefaultApplication(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(localToQString(path)));
}
