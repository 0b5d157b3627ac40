#pragma once
// The settings window's rules, window-free: what its controls show of the user's configuration,
// what "OK" stores back and refuses, the time-out list and the names of the installed skins.
#include <QString>
#include <QStringList>

class TConfig;

// The values the window's controls edit, as the controls hold them.
struct TSettingsFields {
    bool fexit = true;
    bool fdelete = true;
    bool fPickDefFormat = true;
    bool fShowTip = true;
    int thumbSize = 140; // picture width and height
    int thumbBorder = 5;
    bool thumbname = true;
    bool thumbsize = false;
    bool thumbprice = true;
    bool thumbresolution = false;
    bool passive = false;
    int timeoutItem = 2; // index into TimeoutItems()
    bool useproxy = false;
    QString proxyHost;
    QString proxyPort;
    QString proxyLogin;
    QString proxyPass;
};

TSettingsFields SettingsFields(const TConfig& config);
// Writes the fields into config; proxy_ftp_type and the keys the window does not show stay.
void StoreSettingsFields(const TSettingsFields& fields, TConfig& config);

// "10 sekund" ... "60 sekund": item i is (i + 1) x 10000 ms.
QStringList TimeoutItems();
int TimeoutOfItem(int item);
// The item for a stored time-out: the nearest one (a value half-way goes to the longer one),
// and "30 sekund" for 0 or less, which no client may take as its time-out.
int TimeoutItem(int milliseconds);

// The warning that keeps the window open on "OK", in the order they are checked (a proxy
// that was never tested, a port that is not a whole number, an empty host); empty when the
// fields may be stored. Nothing is checked while the proxy is off.
QString SettingsProblem(const TSettingsFields& fields, bool proxyTested);

// The skins folder's *.vdskin files, as the skin list names them: the file name lowered,
// without its extension, each word with a capital ("Morska Bryza").
QStringList InstalledSkinNames();
QString SkinListName(const QString& fileName);
