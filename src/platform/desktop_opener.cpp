#include "platform/desktop_opener.h"

#include <QDesktopServices>
#include <QUrl>

bool TDesktopOpener::Open(const std::string& target)
{
    const QString text = QString::fromStdString(target);
    const QUrl url = text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}
