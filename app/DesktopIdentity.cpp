#include "app/DesktopIdentity.h"

#include <QGuiApplication>
#include <QIcon>
#include <QString>

namespace desktop {

void InstallIdentity() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/vexilo-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral(VEXILO_DESKTOP_ID));
}

}  // namespace desktop
