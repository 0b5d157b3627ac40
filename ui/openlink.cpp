#include "ui/openlink.h"

#include "core/log.h"
#include "platform/linkurl.h"
#include "ui/umydialog.h"

#include <QDesktopServices>

bool OpenLink(const QString& address)
{
    const QUrl url = LinkUrl(address);
    if (!url.isValid() || url.isEmpty()) {
        Log("No link to open in \"" + address + "\"", 2);
        return false;
    }
    if (QDesktopServices::openUrl(url))
        return true;
    Log("Could not open the link " + url.toString() + ": no program to open it", 3);
    const bool mail = url.scheme() == QLatin1String("mailto");
    fdialog().WarningWithAddress(mail ? QStringLiteral("Nie udało się uruchomić programu pocztowego.\r"
                                                       "Skopiuj adres e-mail i napisz wiadomość samodzielnie:")
                                      : QStringLiteral("Nie udało się otworzyć strony w przeglądarce internetowej.\r"
                                                       "Skopiuj jej adres i otwórz go samodzielnie:"),
        LinkCopyText(url));
    return false;
}
